// "Relatório" / "Por Ordem Alfabética" on the real supplier screen: every supplier in the preview
// whatever the search, the screen's row untouched, the table read afresh each time, and a read
// the server refuses shown as an error without a preview.
#include "report/ReportPreview.h"
#include "tests/registry/ScreenFixture.h"
#include "tests/support/Widgets.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QtTest>

using cad::report::ReportPreview;

namespace {

/// What the preview showed while it was open.
struct Seen
{
    bool shown = false;
    QString title;
    QString pageLabel;
    QStringList names;  ///< the supplier of each page
    QStringList titles; ///< the title of each page
    bool dataOpen = false;
};

} // namespace

class ReportSheetTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<testsupport::ScreenFixture> m_fx;

    /// Chooses the menu entry; the preview, if one opens, is read and closed with its button.
    Seen runSheet()
    {
        Seen seen;
        testsupport::ModalAnswer<ReportPreview> answer([&](ReportPreview& preview) {
            seen.shown = true;
            seen.title = preview.windowTitle();
            seen.pageLabel = testsupport::control<QLabel>(preview, QStringLiteral("lblPagina"))->text();
            for (int p = 0; p < preview.pageCount(); ++p) {
                const auto content = preview.layout().content(p);
                for (const auto* t : content.textsOf(QStringLiteral("fldNome")))
                    seen.names << t->text;
                for (const auto* t : content.textsOf(QStringLiteral("lblTitulo")))
                    seen.titles << t->text;
            }
            seen.dataOpen = m_fx->dm().tbFornecedor.isOpen();
            testsupport::control<QAction>(preview, QStringLiteral("actFechar"))->trigger();
        });
        QAction* entry =
            testsupport::control<QMenu>(m_fx->screen(), QStringLiteral("mnuRelatorio"))->actions().value(0);
        if (!entry || entry->text() != QStringLiteral("Por Ordem Alfabética"))
            qFatal("the report menu has no \"Por Ordem Alfabética\"");
        entry->trigger();
        return seen;
    }

private Q_SLOTS:
    void initTestCase() { m_fx = std::make_unique<testsupport::ScreenFixture>(QStringLiteral("rptsheet")); }
    void cleanupTestCase() { m_fx.reset(); }

    void everySupplierByNameWhateverTheSearch()
    {
        m_fx->local(QStringLiteral("DELETE FROM fornecedor; INSERT INTO fornecedor (Nome) "
                                   "VALUES ('BRAVO'), ('ALFA'), ('BETA')"));
        cad::TfrmFornecedor& f = m_fx->openScreen();
        f.searchByLetter(QLatin1Char('B'));
        QCOMPARE(f.tbFornecedor.rowCount(), 2);
        f.tbFornecedor.last();
        const QString current = f.tbFornecedor.text(QStringLiteral("Nome"));
        m_fx->takeMessages();

        const Seen seen = runSheet();
        QVERIFY(seen.shown);
        QCOMPARE(seen.names,
                 (QStringList{QStringLiteral("ALFA"), QStringLiteral("BETA"), QStringLiteral("BRAVO")}));
        QCOMPARE(seen.titles, QStringList(3, QStringLiteral("Relatório Fornecedores por Nome")));
        QCOMPARE(seen.pageLabel, QStringLiteral("Página 1 de 3"));
        QCOMPARE(seen.title, QStringLiteral("Relatório Fornecedores por Nome"));
        QVERIFY(seen.dataOpen);

        // Back on the screen: its search, row and state as they were; the report's read closed.
        QVERIFY(!m_fx->dm().tbFornecedor.isOpen());
        QCOMPARE(f.tbFornecedor.rowCount(), 2);
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")), current);
        QCOMPARE(f.tbFornecedor.state(), cad::RecordSet::State::Browse);
        QVERIFY(m_fx->takeMessages().isEmpty());

        // A supplier added since is on the next sheet.
        m_fx->local(QStringLiteral("INSERT INTO fornecedor (Nome) VALUES ('AAA')"));
        QCOMPARE(runSheet().names.value(0), QStringLiteral("AAA"));
    }

    void emptyTableStillShowsThePreview()
    {
        m_fx->local(QStringLiteral("DELETE FROM fornecedor"));
        m_fx->openScreen();
        const Seen seen = runSheet();
        QVERIFY(seen.shown);
        QCOMPARE(seen.pageLabel, QStringLiteral("Página 1 de 1"));
        QVERIFY(seen.titles.isEmpty());
    }

    void aRefusedReadIsShownWithoutPreview()
    {
        m_fx->openScreen();
        m_fx->takeMessages();
        m_fx->local(QStringLiteral("RENAME TABLE fornecedor TO fornecedor_fora"));
        const Seen seen = runSheet();
        m_fx->local(QStringLiteral("RENAME TABLE fornecedor_fora TO fornecedor"));
        QVERIFY(!seen.shown);
        const auto messages = m_fx->takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, cad::dialogs::Icon::Error);
        QVERIFY2(messages[0].text.contains(QStringLiteral("fornecedor")), qPrintable(messages[0].text));
        QVERIFY(!m_fx->dm().tbFornecedor.isOpen());
    }
};

QTEST_MAIN(ReportSheetTest)
#include "tst_report_sheet.moc"
