#pragma once
#include <QPointer>
#include <QWidget>

class QDialog;
class QLabel;
class QTableWidget;
class QToolButton;

namespace cad {

class CentralRetry;
class PendingCopies;

/// The supplier screen's note of the central copies still owed: how many (hidden when none),
/// "Tentar agora", and the list of the suppliers with their last error; a note when the list's
/// file cannot be written.
class PendingCopiesBar : public QWidget
{
public:
    PendingCopiesBar(PendingCopies& pending, CentralRetry& retry, QWidget* parent);

    /// Opens the list of pending suppliers (or raises it when it is open).
    void showList();

private:
    void refresh();
    void fillList();

    PendingCopies& m_pending;
    CentralRetry& m_retry;
    QLabel* m_count = nullptr;
    QLabel* m_notWritten = nullptr;
    QToolButton* m_retryNow = nullptr;
    QPointer<QDialog> m_dialog;
    QTableWidget* m_table = nullptr;
    QLabel* m_reach = nullptr;
};

} // namespace cad
