// The "&Incluir" button beside the cost centre: the cost centre screen.
#include "core/WaitCursor.h"
#include "data/widgets/DbLineEdit.h"
#include "data/widgets/DbLookupCombo.h"
#include "registry/TFrmGerencial.h"
#include "registry/TfrmFornecedor.h"

namespace cad {

void TfrmFornecedor::SpeedButton2Click()
{
    auto screen = std::make_unique<TFrmGerencial>(m_dm, this);
    screen->exec();
    screen.reset();

    waitcursor::Guard wait;
    // The choice offers the cost centres as they are now, so one just added can be chosen at once.
    // Re-read in place: a failure leaves the list as it was, and saving still finds the names.
    if (tbGerencial.isOpen()) {
        tbGerencial.refresh();
        m_gerencial->setKey(m_gerencial->key()); // a reset drop-down shows its first row otherwise
    }
    if (!tbFornecedor.isOpen()) return;
    // Re-reading saves a changed pending row (with every rule of a save) or ends an unchanged one.
    for (DbLineEdit* e : findChildren<DbLineEdit*>())
        e->commitPending();
    tbFornecedor.refresh(/*keepCurrent=*/true);
}

} // namespace cad
