#include "report/ReportPreview.h"

#include "app/ui/Dialogs.h"
#include "core/ErrorSink.h"
#include "core/WaitCursor.h"
#include "data/widgets/WindowFit.h"
#include "report/PageView.h"
#include "report/PrintIcon.h"
#include "report/ReportPainter.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace cad::report {

namespace {

/// A command with ICON.
QAction* addCommand(QToolBar* bar, const QString& name, const QString& caption, const QIcon& icon,
                    const QKeySequence& key = {})
{
    QAction* a = bar->addAction(icon, caption);
    a->setObjectName(name);
    a->setShortcut(key);
    return a;
}

/// A command with the style's ICON.
QAction* addCommand(QToolBar* bar, const QString& name, const QString& caption, QStyle::StandardPixmap icon,
                    const QKeySequence& key = {})
{
    return addCommand(bar, name, caption, bar->style()->standardIcon(icon), key);
}

} // namespace

ReportPreview::ReportPreview(const ReportLayout& layout, const QString& title, QWidget* parent)
    : QDialog(parent), m_layout(layout)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    keepOnScreen(this);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_view = new PageView(layout, this);

    QAction* firstPage = addCommand(bar, QStringLiteral("actPrimeira"), QStringLiteral("Primeira"),
                                    QStyle::SP_MediaSkipBackward, Qt::Key_Home);
    QAction* prior = addCommand(bar, QStringLiteral("actAnterior"), QStringLiteral("Anterior"),
                                QStyle::SP_MediaSeekBackward, Qt::Key_PageUp);
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setObjectName(QStringLiteral("lblPagina"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_pageLabel);
    QAction* next = addCommand(bar, QStringLiteral("actProxima"), QStringLiteral("Próxima"),
                               QStyle::SP_MediaSeekForward, Qt::Key_PageDown);
    QAction* lastPage = addCommand(bar, QStringLiteral("actUltima"), QStringLiteral("Última"),
                                   QStyle::SP_MediaSkipForward, Qt::Key_End);
    bar->addSeparator();
    // The theme's printer where it has one, else the program's own (the style has none).
    QAction* printAction =
        addCommand(bar, QStringLiteral("actImprimir"), QStringLiteral("Imprimir..."),
                   QIcon::fromTheme(QStringLiteral("document-print"), printIcon()), QKeySequence::Print);
    QAction* pdf =
        addCommand(bar, QStringLiteral("actPdf"), QStringLiteral("Salvar PDF..."), QStyle::SP_DriveHDIcon);
    bar->addSeparator();
    QAction* closeAction =
        addCommand(bar, QStringLiteral("actFechar"), QStringLiteral("Fechar"), QStyle::SP_DialogCloseButton);
    m_backActions = {firstPage, prior};
    m_forwardActions = {next, lastPage};
    for (QAction* a : m_backActions + m_forwardActions)
        a->setPriority(QAction::LowPriority); // icon only: the commands keep room for their captions

    connect(firstPage, &QAction::triggered, this, [this] { showPage(0); });
    connect(prior, &QAction::triggered, this, [this] { showPage(currentPage() - 1); });
    connect(next, &QAction::triggered, this, [this] { showPage(currentPage() + 1); });
    connect(lastPage, &QAction::triggered, this, [this] { showPage(pageCount() - 1); });
    connect(printAction, &QAction::triggered, this, [this] { guarded([this] { printPages(); }); });
    connect(pdf, &QAction::triggered, this, [this] { guarded([this] { exportToPdf(); }); });
    connect(closeAction, &QAction::triggered, this, &QDialog::accept);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(bar);
    box->addWidget(m_view, 1);

    // A normal window, as tall as the screen comfortably allows, the page zoomed to fit.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int height = std::max(400, screen.height() * 9 / 10);
    resize(std::min(screen.width(), std::max(bar->sizeHint().width(), height * 3 / 4 + 120)), height);
    pageChanged();
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::currentPage() const
{
    return m_view->page();
}

void ReportPreview::showPage(int page)
{
    m_view->setPage(page);
    pageChanged();
}

void ReportPreview::pageChanged()
{
    const int page = currentPage();
    m_pageLabel->setText(QStringLiteral("Página %1 de %2").arg(page + 1).arg(pageCount()));
    for (QAction* a : m_backActions)
        a->setEnabled(page > 0);
    for (QAction* a : m_forwardActions)
        a->setEnabled(page < pageCount() - 1);
}

void ReportPreview::printPages()
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, m_layout.page());
    if (!dialogs::choosePrinter(printer, pageCount())) return;
    if (printer.printRange() == QPrinter::CurrentPage)
        printer.setPageRanges(QPageRanges::fromString(QString::number(currentPage() + 1)));
    waitcursor::Guard wait;
    print(m_layout, printer);
}

void ReportPreview::exportToPdf()
{
    QString path =
        dialogs::saveFileName({QStringLiteral("Salvar PDF"), windowTitle() + QStringLiteral(".pdf"),
                               QStringLiteral("PDF (*.pdf)")});
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    waitcursor::Guard wait;
    exportPdf(m_layout, path);
}

} // namespace cad::report
