#include "registry/PendingCopiesBar.h"

#include "registry/CentralRetry.h"
#include "registry/PendingCopies.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace cad {

namespace {

QToolButton* textButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setFocusPolicy(Qt::NoFocus); // outside the screen's tab order
    return b;
}

} // namespace

PendingCopiesBar::PendingCopiesBar(PendingCopies& pending, CentralRetry& retry, QWidget* parent)
    : QWidget(parent), m_pending(pending), m_retry(retry)
{
    setObjectName(QStringLiteral("pnlCopiasPendentes"));
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(4, 4, 4, 4);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblCopiasPendentes"));
    QPalette p = m_count->palette();
    p.setColor(QPalette::WindowText, QColor(0xb0, 0x30, 0x00));
    m_count->setPalette(p);
    h->addWidget(m_count);
    m_notWritten = new QLabel(QStringLiteral("(lista não gravada)"), this);
    m_notWritten->setObjectName(QStringLiteral("lblListaNaoGravada"));
    m_notWritten->setPalette(p);
    h->addWidget(m_notWritten);
    m_retryNow = textButton(QStringLiteral("btnTentarAgora"), QStringLiteral("Tentar agora"), this);
    h->addWidget(m_retryNow);
    QToolButton* list = textButton(QStringLiteral("btnCopiasPendentes"), QStringLiteral("Ver lista"), this);
    h->addWidget(list);
    connect(m_retryNow, &QToolButton::clicked, &m_retry, &CentralRetry::retryNow);
    connect(list, &QToolButton::clicked, this, &PendingCopiesBar::showList);
    connect(&m_pending, &PendingCopies::changed, this, &PendingCopiesBar::refresh);
    connect(&m_retry, &CentralRetry::runningChanged, this, &PendingCopiesBar::refresh);
    refresh();
}

void PendingCopiesBar::refresh()
{
    const int n = m_pending.count();
    m_count->setText(n == 1 ? QStringLiteral("1 cópia pendente para a central")
                            : QStringLiteral("%1 cópias pendentes para a central").arg(n));
    m_count->setToolTip(m_retry.unreachable());
    m_notWritten->setVisible(!m_pending.writeError().isEmpty());
    m_notWritten->setToolTip(QStringLiteral("Não foi possível gravar a lista de cópias pendentes: ") +
                             m_pending.writeError());
    m_retryNow->setEnabled(!m_retry.isRunning());
    setVisible(n > 0);
    adjustSize();
    if (m_dialog) fillList();
}

void PendingCopiesBar::showList()
{
    if (!m_dialog) {
        auto* d = new QDialog(window());
        d->setObjectName(QStringLiteral("dlgCopiasPendentes"));
        d->setAttribute(Qt::WA_DeleteOnClose);
        d->setWindowTitle(QStringLiteral("Cópias pendentes para a central"));
        d->resize(760, 320);
        auto* v = new QVBoxLayout(d);
        m_reach = new QLabel(d);
        m_reach->setWordWrap(true);
        v->addWidget(m_reach);
        m_table = new QTableWidget(0, 4, d);
        m_table->setObjectName(QStringLiteral("grdCopiasPendentes"));
        m_table->setHorizontalHeaderLabels({QStringLiteral("Código"), QStringLiteral("Razão Social"),
                                            QStringLiteral("Último erro"), QStringLiteral("Quando")});
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
        m_table->verticalHeader()->hide();
        v->addWidget(m_table);
        auto* buttons = new QDialogButtonBox(d);
        buttons->addButton(QStringLiteral("Fechar"), QDialogButtonBox::RejectRole);
        connect(buttons, &QDialogButtonBox::rejected, d, &QDialog::reject);
        v->addWidget(buttons);
        m_dialog = d;
        fillList();
    }
    m_dialog->open(); // modal without a loop of its own: retries go on and the list follows them
    m_dialog->raise();
}

void PendingCopiesBar::fillList()
{
    const auto& entries = m_pending.entries();
    m_table->setRowCount(int(entries.size()));
    for (int r = 0; r < int(entries.size()); ++r) {
        const auto& e = entries[size_t(r)];
        const QStringList cells = {QString::number(e.code), e.name, e.error,
                                   e.when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))};
        for (int c = 0; c < cells.size(); ++c)
            m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    m_table->resizeColumnToContents(0);
    m_table->resizeColumnToContents(1);
    m_reach->setText(m_retry.unreachable());
    m_reach->setVisible(!m_retry.unreachable().isEmpty());
}

} // namespace cad
