// Cadastro de Fornecedor: start-up in the order the program relies on.
#include "app/DataModule.h"
#include "app/ui/CadApplication.h"
#include "app/ui/SingleInstance.h"
#include "data/widgets/ErrorSink.h"
#include "http/ServiceSettings.h"
#include "registry/TfrmFornecedor.h"

#include <QScreen>
#include <unistd.h>

namespace {

void applyServiceSettings(const cad::AdminIni& ini)
{
    ServiceSettings& s = serviceSettings();
    if (!ini.cnpjHost.isEmpty()) s.cnpjHost = ini.cnpjHost;
    if (!ini.cpfHost.isEmpty()) s.cpfHost = ini.cpfHost;
    if (!ini.viaCepHost.isEmpty()) s.viaCepHost = ini.viaCepHost;
    if (!ini.mapsHost.isEmpty()) s.mapsHost = ini.mapsHost;
    if (!ini.mapsKey.isEmpty()) s.mapsKey = ini.mapsKey;
    if (!ini.caFile.isEmpty()) s.caFile = ini.caFile;
}

} // namespace

int main(int argc, char** argv)
{
    // The route screen's browser refuses to start its sandbox as root; it must be told before Qt starts.
    if (geteuid() == 0) {
        if (!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    }
    cad::CadApplication app(argc, argv);
    // 1. One copy per executable name and logon: a second one brings the first forward and ends.
    cad::SingleInstance instance(QCoreApplication::applicationFilePath());
    if (instance.alreadyRunning()) return 0;
    // 2. The title every box shows.
    QApplication::setApplicationName(QStringLiteral("Cadastro de Fornecedor"));

    // 3. The data module: Admin.ini beside the executable, then both connections.
    cad::TDM dm;
    cad::guarded([&] { dm.DataModuleCreate(QCoreApplication::applicationDirPath()); });
    applyServiceSettings(dm.ini());

    // 4-6. The supplier screen, maximised; the operator's name is the command line joined by blanks.
    const QString operatorName = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    cad::TfrmFornecedor form(dm, operatorName);
    instance.setWindow(&form);
    form.FormCreate();
    // Maximised and not resizable: the whole work area, also where no window manager maximises.
    form.setFixedSize(form.screen()->availableGeometry().size());
    form.move(form.screen()->availableGeometry().topLeft());
    form.showMaximized();
    return app.exec();
}
