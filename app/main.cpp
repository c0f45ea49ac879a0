// Cadastro de Fornecedor: start-up in the order the program relies on.
#include "app/DataModule.h"
#include "app/ui/CadApplication.h"
#include "app/ui/CloseOnSignal.h"
#include "app/ui/ProgramStart.h"
#include "app/ui/SingleInstance.h"
#include "core/ErrorSink.h"
#include "registry/TfrmFornecedor.h"

int main(int argc, char** argv)
{
    cad::programstart::prepareEnvironment();
    cad::CadApplication app(argc, argv);
    // 1. One copy per executable name and logon: a second one brings the first forward and ends.
    cad::SingleInstance instance(QCoreApplication::applicationFilePath());
    if (instance.alreadyRunning()) return 0;
    // 2. The title every box shows.
    QApplication::setApplicationName(QStringLiteral("Cadastro de Fornecedor"));
    // Asked to end (logout, shutdown) from here on: the screen is closed as by the operator.
    cad::CloseOnSignal closeOnSignal;

    // 3. The data module: Admin.ini beside the executable, then both connections.
    cad::TDM dm;
    cad::guarded([&] { dm.DataModuleCreate(QCoreApplication::applicationDirPath()); });
    cad::programstart::applyServiceSettings(dm.ini());

    // 4-6. The supplier screen, maximised; the operator's name is the command line joined by blanks.
    const QString operatorName = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    cad::TfrmFornecedor form(dm, operatorName);
    instance.setWindow(&form);
    closeOnSignal.setWindow(&form);
    form.FormCreate();
    form.showAsMainWindow();
    return app.exec();
}
