// The CNPJ look-up picture of the supplier screen.
#include "registry/TfrmFornecedor.h"
#include "taxpayer/ui/TF_ConsultaCNPJ.h"

namespace cad {

// The dialog lives only while shown, so each opening starts a new session with the service.
void TfrmFornecedor::img3Click()
{
    TF_ConsultaCNPJ dialog(tbFornecedor, *stateList(), *municipalityList(), this);
    dialog.exec();
}

} // namespace cad
