// "Relatório" / "Por Ordem Alfabética": the supplier sheet in a print preview.
#include "registry/TfrmFornecedor.h"

namespace cad {

void TfrmFornecedor::PorOrdemAlfabeticaClick()
{
    // Supplier sheet: filled in with the report.
}

} // namespace cad
