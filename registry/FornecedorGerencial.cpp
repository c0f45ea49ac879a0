// The "&Incluir" button beside the cost centre: the cost centre screen.
#include "registry/TfrmFornecedor.h"

namespace cad {

void TfrmFornecedor::SpeedButton2Click()
{
    // Cost centre screen: filled in with that screen.
}

} // namespace cad
