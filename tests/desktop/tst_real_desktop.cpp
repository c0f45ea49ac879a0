// The supplier screen as a person meets it on a real X server with a window manager: the
// windows fit the screen, and keys and clicks (real X input events) reach the fields, the
// mnemonics, the CNPJ look-up and the save.
#include "data/widgets/DbGrid.h"
#include "registry/TfrmFornecedor.h"
#include "standins/ServiceAddresses.h"
#include "tests/desktop/XDriver.h"
#include "tests/registry/ScreenFixture.h"
#include "tests/registry/ScreenSteps.h"

#include <QDir>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

using namespace cad;
using namespace testsupport;

namespace {

const QString kCaptcha = QStringLiteral("K7Q2P"); // every image of the stand-in accepts it
constexpr int kWait = 15000;                      // the window manager and the server are real

} // namespace

class RealDesktopTest : public QObject
{
    Q_OBJECT
    const bool m_display = QGuiApplication::platformName() == QStringLiteral("xcb");
    const bool m_wide = qEnvironmentVariableIsSet("CAD_REALX_WIDE");
    std::unique_ptr<ScreenFixture> m_fx;
    std::unique_ptr<standins::StandInProcess> m_cnpj, m_cpf;

    /// The screen as the program shows it, once the window manager has placed it and given it the
    /// focus (where the program and the server agree it is, clicks land where they are aimed).
    cad::TfrmFornecedor& openScreen()
    {
        cad::TfrmFornecedor& f =
            m_fx->openScreen(QStringLiteral("MARIA"), [](cad::TfrmFornecedor& s) { s.showAsMainWindow(); });
        const auto settled = [&] {
            return f.isActiveWindow() &&
                   xdriver::clientOnServer(&f) == QRect(f.mapToGlobal(QPoint()), f.size()) &&
                   xdriver::frameOnServer(&f) == f.screen()->availableGeometry();
        };
        if (!QTest::qWaitFor(settled, kWait)) qWarning("the screen did not settle");
        return f;
    }

    /// Runs STEPS on the modal window that COMMAND opens, from within the window's own event loop
    /// once the window manager has activated it; closes the window after them if still open.
    void withModal(const std::function<void()>& command, const std::function<void(QWidget&)>& steps)
    {
        ModalAnswer<> answer([&](QWidget& modal) {
            QTRY_VERIFY2_WITH_TIMEOUT(modal.isActiveWindow(), "the modal window did not become active",
                                      kWait);
            steps(modal);
        });
        command();
        QTRY_VERIFY2_WITH_TIMEOUT(answer.answered(), "no modal window came up", 3 * kWait);
    }

    void typeInSearchBox(cad::TfrmFornecedor& f, const QString& text)
    {
        auto* box = f.searchBox();
        box->clear();
        QVERIFY(xdriver::click(box));
        QTRY_VERIFY_WITH_TIMEOUT(box->hasFocus(), kWait);
        QVERIFY(xdriver::type(text));
        QTRY_COMPARE_WITH_TIMEOUT(box->text(), text, kWait);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!m_display) QSKIP("no X server with a window manager (./test.sh starts them)");
        m_fx = std::make_unique<ScreenFixture>(QStringLiteral("desktop"));
        addSupplier(*m_fx, 1, QStringLiteral("SILVA E FILHOS LTDA"), QStringLiteral("SILVA"),
                    QStringLiteral("12345678000199"));
        addSupplier(*m_fx, 2, QStringLiteral("QUITERIA SOUZA"), QStringLiteral("QUITERIA"),
                    QStringLiteral("98765432000110"));
        // The wide run is the same program in the same folder, possibly at the same time: only one
        // of them may write the service-address files beside it and serve them.
        if (m_wide) return;
        m_cnpj = std::make_unique<standins::StandInProcess>(
            QStringLiteral("receita_cnpj.py"), QStringList{QStringLiteral("--captcha"), kCaptcha});
        standins::pointCnpjLookupAt(*m_cnpj);
        m_cpf = std::make_unique<standins::StandInProcess>(QStringLiteral("receita_cpf.py"));
        standins::pointCpfLookupAt(*m_cpf);
    }
    void cleanupTestCase()
    {
        m_fx.reset();
        m_cnpj.reset();
        m_cpf.reset();
    }
    void init()
    {
        if (m_wide && !QByteArray(QTest::currentTestFunction()).startsWith("windowFits"))
            QSKIP("the wide screen checks the window's size only");
    }
    // A picture of the screen as it was when a case failed, in the build folder.
    void cleanup()
    {
        if (!QTest::currentTestFailed()) return;
        const QString file =
            QDir(QCoreApplication::applicationDirPath())
                .filePath(QStringLiteral("failed-%1-%2%3.png")
                              .arg(QString::fromLatin1(QTest::currentTestFunction()),
                                   QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_'),
                                   m_wide ? QStringLiteral("-wide") : QString()));
        xdriver::screenshot(file);
        qWarning("screen saved in %s", qPrintable(file));
    }

    // The whole frame fills the available area, title bar included, and the search row at the
    // bottom shows whole.
    void windowFitsTheScreen()
    {
        cad::TfrmFornecedor& f = openScreen();
        const QRect area = f.screen()->availableGeometry();
        // The operator cannot resize it.
        QTRY_VERIFY_WITH_TIMEOUT(xdriver::frameOnServer(&f) == area && f.minimumSize() == f.maximumSize(),
                                 kWait);
        const QRect inside(f.mapToGlobal(QPoint(0, 0)), f.size());
        for (const char* name :
             {"edtPesquisa", "SpeedButton4", "SpeedButton1", "TSpeedButton", "TSpeedButton11"}) {
            auto* w = control(f, QLatin1String(name));
            const QRect at(w->mapToGlobal(QPoint(0, 0)), w->size());
            QVERIFY2(inside.contains(at) && area.contains(at), name);
        }
    }

    // Every other window opened from the screen fits inside the screen with its frame.
    void windowFitsTheScreenForEachDialog_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("Consulta de CNPJ") << "imgConsultaCNPJ";
        QTest::newRow("Consulta CPF") << "imgConsultaCPF";
        QTest::newRow("cost centres") << "SpeedButton2";
    }
    void windowFitsTheScreenForEachDialog()
    {
        QFETCH(QString, command);
        cad::TfrmFornecedor& f = openScreen();
        f.ToolButton1Click(); // "Dados", where the commands are
        const QRect area = f.screen()->availableGeometry();
        withModal([&] { QVERIFY(xdriver::click(control(f, command))); },
                  [&](QWidget& dialog) {
                      QTRY_VERIFY_WITH_TIMEOUT(area.contains(xdriver::frameOnServer(&dialog)), kWait);
                      QVERIFY(xdriver::frameOnServer(&dialog).height() > dialog.height()); // framed
                  });
        f.ToolButton8Click();
    }

    // Alt and the underlined letter press the search buttons.
    void altKeysPressSearchButtons_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("Alt+C code") << "alt+c"
                                    << "2" << QStringList{"2"};
        QTest::newRow("Alt+R company name") << "alt+r"
                                            << "SILVA" << QStringList{"1"};
        QTest::newRow("Alt+N trade name") << "alt+n"
                                          << "QUIT" << QStringList{"2"};
        QTest::newRow("Alt+J CPF/CNPJ") << "alt+j"
                                        << "987" << QStringList{"2"};
    }
    void altKeysPressSearchButtons()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QStringList, codes);
        cad::TfrmFornecedor& f = openScreen();
        typeInSearchBox(f, text);
        QVERIFY(xdriver::key(keys));
        QTRY_COMPARE_WITH_TIMEOUT(listColumn(f, 0), codes, kWait);
        QCOMPARE(m_fx->takeMessages().size(), 0);
    }

    // From "Razão Social" the Tab key walks the header, the search box, the tab strip and the
    // fields of "Dados" in their order, "Centro de Custo" straight to "Valor Fixo".
    void tabPathOfDados()
    {
        const QStringList path{"dbedtNome",           "dbedtNomefan",  "edtPesquisa",
                               "qt_tabwidget_tabbar", "dbedtIe",       "dbedtRg",
                               "QRadioButton",        "dbedtEndereco", "dbedtNumero",
                               "dbedtComplemento",    "dbedtBairro",   "dblkcbbufs",
                               "dblkcbbcodigocidade", "dbedtCep",      "dbedtTelefone1",
                               "dbedtTelefone2",      "dbedtEmail",    "dbedtContato",
                               "dbedtTelcontato",     "dblkcbbTipo",   "dblkcbbGerencial",
                               "dbedtValor",          "dbedtDiavenc",  "dbmmoObs"};
        cad::TfrmFornecedor& f = openScreen();
        typeInSearchBox(f, QStringLiteral("1"));
        QVERIFY(xdriver::key(QStringLiteral("alt+c")));
        QTRY_COMPARE_WITH_TIMEOUT(f.tbFornecedor.isOpen(), true, kWait);
        QTabBar* tabs = f.findChild<QTabBar*>();
        QVERIFY(xdriver::click(tabs, tabs->tabRect(1).center()));
        QTRY_COMPARE_WITH_TIMEOUT(f.currentTab(), QStringLiteral("Dados"), kWait);
        QVERIFY(xdriver::click(control(f, QStringLiteral("dbedtNome"))));
        QTRY_COMPARE_WITH_TIMEOUT(nameOf(QApplication::focusWidget()), path.at(0), kWait);
        for (qsizetype i = 1; i < path.size(); ++i) {
            QVERIFY(xdriver::key(QStringLiteral("Tab")));
            QTRY_COMPARE_WITH_TIMEOUT(nameOf(QApplication::focusWidget()), path.at(i), kWait);
        }
    }

    // A CNPJ typed as soon as the dialog has put the focus in its field reaches the look-up, whose
    // data the operator then saves.
    void cnpjTypedStraightAwayIsLookedUpAndSaved()
    {
        cad::TfrmFornecedor& f = openScreen();
        QVERIFY(xdriver::click(control(f, QStringLiteral("ToolButton1"))));
        QTRY_COMPARE_WITH_TIMEOUT(f.currentTab(), QStringLiteral("Dados"), kWait);
        QString found;
        withModal([&] { QVERIFY(xdriver::click(control(f, QStringLiteral("imgConsultaCNPJ")))); },
                  [&](QWidget& dialog) {
                      auto* number = control<QLineEdit>(dialog, QStringLiteral("EditCNPJ"));
                      auto* name = control<QLineEdit>(dialog, QStringLiteral("EditRazaoSocial"));
                      QTRY_VERIFY_WITH_TIMEOUT(number->hasFocus(), kWait);
                      QVERIFY(xdriver::type(QStringLiteral("11222333000181")));
                      QTRY_COMPARE_WITH_TIMEOUT(number->displayText(), QStringLiteral("11.222.333/0001-81"),
                                                kWait);
                      QVERIFY(xdriver::key(QStringLiteral("Tab")));
                      QVERIFY(xdriver::type(kCaptcha));
                      QVERIFY(xdriver::key(QStringLiteral("Return")));
                      QTRY_VERIFY_WITH_TIMEOUT(!name->text().isEmpty(), kWait);
                      found = name->text();
                      QVERIFY(xdriver::key(QStringLiteral("alt+F4"))); // the window manager's close
                      QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kWait);
                  });
        QCOMPARE(messageTexts(*m_fx), QStringList());
        QCOMPARE(f.tbFornecedor.text(QStringLiteral("Nome")), found);
        QVERIFY(xdriver::click(control(f, QStringLiteral("ToolButton7"))));
        QTRY_COMPARE_WITH_TIMEOUT(
            m_fx->local(QStringLiteral("SELECT Nome FROM fornecedor WHERE Cgccpf = '11222333000181'"))
                .value(0),
            found.left(50), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(f.currentTab(), QStringLiteral("Listagem"), kWait);
    }

    // Search, a double click on the supplier, a field changed, Ctrl+S: the change is on the server.
    void searchEditAndSaveWithCtrlS()
    {
        cad::TfrmFornecedor& f = openScreen();
        typeInSearchBox(f, QStringLiteral("QUIT"));
        QVERIFY(xdriver::key(QStringLiteral("alt+r")));
        QTRY_COMPARE_WITH_TIMEOUT(listColumn(f, 0), QStringList{QStringLiteral("2")}, kWait);
        cad::DbGrid* list = supplierList(f);
        QVERIFY(xdriver::click(list->viewport(), list->visualRect(list->model()->index(0, 1)).center(), 2));
        QTRY_COMPARE_WITH_TIMEOUT(f.currentTab(), QStringLiteral("Dados"), kWait);
        auto* bairro = control<QLineEdit>(f, QStringLiteral("dbedtBairro"));
        QVERIFY(xdriver::click(bairro));
        QTRY_VERIFY_WITH_TIMEOUT(bairro->hasFocus(), kWait);
        QVERIFY(xdriver::type(QStringLiteral("centro")));
        QTRY_COMPARE_WITH_TIMEOUT(bairro->text(), QStringLiteral("CENTRO"), kWait);
        QVERIFY(xdriver::key(QStringLiteral("ctrl+s")));
        QTRY_COMPARE_WITH_TIMEOUT(
            m_fx->local(QStringLiteral("SELECT Bairro FROM fornecedor WHERE CodigoFornecedor = 2")).value(0),
            QStringLiteral("CENTRO"), kWait);
        QCOMPARE(m_fx->takeMessages().size(), 0);
    }
};

// The X display comes from ./test.sh; without one the cases are skipped on the offscreen platform.
int main(int argc, char** argv)
{
    const QByteArray display = qgetenv(qEnvironmentVariableIsSet("CAD_REALX_WIDE") ? "CAD_TEST_X_DISPLAY_WIDE"
                                                                                   : "CAD_TEST_X_DISPLAY");
    if (display.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        qputenv("DISPLAY", display);
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    RealDesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_real_desktop.moc"
