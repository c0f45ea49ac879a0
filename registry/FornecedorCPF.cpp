// The CPF look-up picture of the supplier screen.
#include "registry/TfrmFornecedor.h"
#include "taxpayer/ui/TfrmConsultaCPF.h"

namespace cad {

void TfrmFornecedor::img2Click()
{
    // A person is not an ICMS contributor; picking it may put the record into editing.
    chooseNonContributor();
    TfrmConsultaCPF dialog(tbFornecedor, this);
    dialog.exec();
}

} // namespace cad
