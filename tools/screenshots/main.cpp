// Screenshots of the program's screens over the demo data: the program's own start-up and screens,
// driven step by step as an operator would, each picture the whole (virtual) screen.
//   cadastro-screenshots OUTDIR     (scripts/screenshots.sh runs it under Xvfb and openbox)
#include "app/DataModule.h"
#include "app/ui/CadApplication.h"
#include "app/ui/Dialogs.h"
#include "app/ui/ProgramStart.h"
#include "core/ErrorSink.h"
#include "maps/TFormMapa.h"
#include "registry/TfrmFornecedor.h"
#include "report/ReportPreview.h"
#include "taxpayer/ui/TF_ConsultaCNPJ.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

QDir g_out;

[[noreturn]] void fail(const char* what)
{
    qFatal("screenshots: %s", what);
}

void waitFor(const std::function<bool()>& ready, const char* what, int ms = 60000)
{
    if (!QTest::qWaitFor(ready, ms)) fail(what);
}

// The whole screen, window manager's frames included, once what was asked for is painted.
void shoot(const QString& name)
{
    QTest::qWait(700);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!screen.save(g_out.filePath(name + QStringLiteral(".png")))) fail("cannot write the picture");
    qInfo("%s.png", qPrintable(name));
}

template <typename T> T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c) fail(name);
    return c;
}

// Runs STEP on the modal window of type T that the next command opens, while that command waits.
template <typename T> void whenShown(std::function<void(T&)> step)
{
    auto* poll = new QTimer;
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        if (!QTest::qWaitForWindowExposed(w)) fail("window not shown");
        cad::guarded([&] { step(*w); });
        w->close();
    });
    poll->start();
}

void showTab(cad::TfrmFornecedor& form, const QString& caption)
{
    auto* tabs = child<QTabWidget>(&form, "pgcFornecedor");
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i).remove(QLatin1Char('&')) == caption) tabs->setCurrentIndex(i);
}

// A supplier of the demo data with purchases, on a street the route stand-in knows when one is.
void pickSupplier(cad::TfrmFornecedor& form)
{
    cad::RecordSet& rs = form.tbFornecedor;
    int withPurchases = -1;
    for (int row = 0; row < rs.rowCount(); ++row) {
        rs.moveTo(row);
        if (form.myqryNota.rowCount() == 0) continue;
        if (rs.value(QStringLiteral("Endereco")).toString() == QStringLiteral("AVENIDA BRASIL")) return;
        if (withPurchases < 0) withPurchases = row;
    }
    rs.moveTo(std::max(withPurchases, 0));
}

void run(cad::TfrmFornecedor& form)
{
    if (!QTest::qWaitForWindowExposed(&form)) fail("supplier screen not shown");
    form.searchBox()->setText(QStringLiteral("SILVA"));
    form.SpeedButton1Click();
    waitFor([&] { return form.tbFornecedor.isOpen() && !form.tbFornecedor.isEmpty(); }, "supplier list");
    pickSupplier(form);
    shoot(QStringLiteral("listagem"));

    showTab(form, QStringLiteral("Dados"));
    shoot(QStringLiteral("dados"));

    showTab(form, QStringLiteral("Entrada"));
    waitFor([&] { return form.myqryNota.isOpen(); }, "purchase history");
    shoot(QStringLiteral("entrada"));

    whenShown<cad::report::ReportPreview>(
        [](cad::report::ReportPreview&) { shoot(QStringLiteral("ficha")); });
    form.PorOrdemAlfabeticaClick();

    whenShown<cad::TFormMapa>([](cad::TFormMapa& mapa) {
        mapa.showMaximized(); // as the program asks; a window manager may leave a modal window as it is
        mapa.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        child<QAbstractButton>(&mapa, "btnTracaRota")->click();
        waitFor([&] { return !mapa.distancia().isEmpty(); }, "route distance");
        QTest::qWait(1500); // the map's own drawing after the page has answered
        shoot(QStringLiteral("rota"));
    });
    form.ConsultaMapaClick();

    showTab(form, QStringLiteral("Listagem"));
    form.ToolButton1Click(); // "Incluir": a new supplier, filled by the CNPJ look-up
    whenShown<cad::TF_ConsultaCNPJ>([](cad::TF_ConsultaCNPJ& dialog) {
        auto* image = child<QLabel>(&dialog, "Image1");
        waitFor([&] { return !image->pixmap().isNull(); }, "captcha image");
        child<QLineEdit>(&dialog, "EditCNPJ")->setText(QStringLiteral("11222333000181"));
        child<QLineEdit>(&dialog, "EditCaptcha")->setText(qEnvironmentVariable("CAD_STANDIN_CAPTCHA"));
        child<QAbstractButton>(&dialog, "ButBuscar")->click();
        shoot(QStringLiteral("consulta-cnpj"));
    });
    form.img3Click();
    shoot(QStringLiteral("dados-preenchido"));
    form.ToolButton8Click(); // " Cancelar  ": the demo data stays as it was
}

} // namespace

int main(int argc, char** argv)
{
    cad::programstart::prepareEnvironment();
    cad::CadApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cadastro de Fornecedor"));
    if (argc != 2) fail("usage: cadastro-screenshots OUTDIR");
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    // A message box would stop the pictures: it is answered as its default button, and reported.
    cad::dialogs::setResponder([](const cad::dialogs::Request& r) {
        qWarning("message: %s", qPrintable(r.text));
        return r.defaultAnswer;
    });

    cad::TDM dm;
    cad::guarded([&] { dm.DataModuleCreate(QCoreApplication::applicationDirPath()); });
    cad::programstart::applyServiceSettings(dm.ini());
    cad::TfrmFornecedor form(dm, QStringLiteral("OPERADOR DEMO"));
    form.FormCreate();
    form.showMaximized();
    QTimer::singleShot(0, &form, [&] {
        run(form);
        form.close();
    });
    return app.exec();
}
