// The cost centre screen's commands and the periodic re-read of its list.
#include "app/ui/Dialogs.h"
#include "core/ErrorSink.h"
#include "core/WaitCursor.h"
#include "data/widgets/DbGrid.h"
#include "data/widgets/DbLineEdit.h"
#include "registry/TFrmGerencial.h"
#include "registry/UpperCaseCellDelegate.h"

namespace cad {

void TFrmGerencial::takeCellText()
{
    // The command buttons never take the focus, so an open cell would keep its text.
    m_cell->finishEditing();
    m_descricao->commitPending();
}

void TFrmGerencial::btnIncluirClick()
{
    takeCellText();
    waitcursor::Guard wait;
    tbGerencial.append(); // a changed row is saved first
    showBars(Bars::Editing);
    m_descricao->setFocus();
}

void TFrmGerencial::btnExcluirClick()
{
    takeCellText();
    waitcursor::Guard wait;
    tbGerencial.remove();
}

void TFrmGerencial::btnFecharClick()
{
    close();
}

void TFrmGerencial::btnSalvarClick()
{
    takeCellText();
    waitcursor::Guard wait;
    tbGerencial.post(); // a failure keeps the editing state, to correct or cancel
    showBars(Bars::Browse);
    if (tbGerencial.isOpen())
        tbGerencial.refresh(); // the new row in its sorted place, with changes made elsewhere
}

void TFrmGerencial::btnCancelarClick()
{
    takeCellText();
    tbGerencial.cancel();
    showBars(Bars::Browse);
}

void TFrmGerencial::navigate(void (RecordSet::*move)())
{
    if (!tbGerencial.isOpen()) return;
    takeCellText();
    waitcursor::Guard wait;
    (tbGerencial.*move)(); // leaving a changed row saves it
}

void TFrmGerencial::grdGerencialDeleteKey()
{
    if (!tbGerencial.isOpen() || tbGerencial.isEmpty()) return;
    // No re-read while the operator decides: the row asked about stays the current one.
    m_timer.stop();
    const bool yes =
        dialogs::ask(QStringLiteral("Confirmação"), QStringLiteral("Excluir registro?"), dialogs::Answer::No);
    if (!m_rereadStopped && tbGerencial.isOpen()) m_timer.start();
    if (!yes) return;
    waitcursor::Guard wait;
    tbGerencial.remove();
}

void TFrmGerencial::tmrAtualizarTimer()
{
    // Never while the operator is changing a row, in the field or in a list cell.
    if (!tbGerencial.isOpen() || tbGerencial.isEditing() || m_cell->isEditing()) return;
    try {
        waitcursor::Guard wait;
        tbGerencial.refresh();
    } catch (const std::exception& e) {
        // One failure is shown once; the list keeps what it had.
        m_rereadStopped = true;
        m_timer.stop();
        reportError(e);
    }
}

} // namespace cad
