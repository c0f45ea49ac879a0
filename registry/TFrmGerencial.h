#pragma once
#include "data/RecordSet.h"

#include <QDialog>
#include <QTimer>

class QToolBar;

namespace cad {

class TDM;
class DbGrid;
class DbLineEdit;
class UpperCaseCellDelegate;

/// The cost centre screen: lists the cost centres and lets the operator add, rename and delete
/// them; the list follows changes made elsewhere by reading itself again while idle.
class TFrmGerencial : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmGerencial(TDM& dm, QWidget* parent = nullptr);
    ~TFrmGerencial() override;

    RecordSet tbGerencial;

    // --- commands (also reached by buttons and keys)
    void btnIncluirClick();
    void btnExcluirClick();
    void btnFecharClick();
    void btnSalvarClick();
    void btnCancelarClick();
    void navigate(void (RecordSet::*move)());
    void grdGerencialDeleteKey(); ///< Ctrl+Delete in the list: deletes after a question
    void tmrAtualizarTimer();     ///< the periodic re-read

    enum class Bars
    {
        Browse,
        Editing
    };
    [[nodiscard]] Bars bars() const { return m_bars; }
    /// False once a re-read has failed: the list is then not read again until the screen closes.
    [[nodiscard]] bool isRereading() const { return m_timer.isActive(); }
    static constexpr int kRereadIntervalMs = 5000;

    /// Closing, by any way: the list is closed and a row not yet saved is discarded.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QWidget* buildCommandBars(QWidget* parent);
    QWidget* buildCurrentRow(QWidget* parent);
    void buildList(QWidget* parent);
    void setupKeys();
    void showBars(Bars b);
    void FormCreate();
    void FormClose();
    /// Takes text still open in a list cell into the row, as leaving the cell does.
    void takeCellText();

    QWidget* m_body = nullptr;
    QToolBar* m_browseBar = nullptr;
    QToolBar* m_editBar = nullptr;
    QToolBar* m_navBar = nullptr;
    DbLineEdit* m_descricao = nullptr;
    DbGrid* m_grid = nullptr;
    UpperCaseCellDelegate* m_cell = nullptr;
    Bars m_bars = Bars::Browse;
    bool m_centred = false;
    bool m_rereadStopped = false;
    QTimer m_timer; // after tbGerencial: stops before the list goes away
};

} // namespace cad
