// The CPF look-up picture of the supplier screen.
#include "registry/TfrmFornecedor.h"

namespace cad {

void TfrmFornecedor::img2Click()
{
    // CPF look-up dialog: filled in with the federal registry dialogs.
}

} // namespace cad
