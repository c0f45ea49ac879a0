#include "app/ui/ProgramStart.h"

#include "app/AdminIni.h"
#include "http/ServiceSettings.h"

#include <QtGlobal>
#include <unistd.h>

namespace cad::programstart {

void prepareEnvironment()
{
    if (geteuid() != 0) return;
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
}

void applyServiceSettings(const AdminIni& ini)
{
    ServiceSettings& s = serviceSettings();
    if (!ini.cnpjHost.isEmpty()) s.cnpjHost = ini.cnpjHost;
    if (!ini.cpfHost.isEmpty()) s.cpfHost = ini.cpfHost;
    if (!ini.viaCepHost.isEmpty()) s.viaCepHost = ini.viaCepHost;
    if (!ini.mapsHost.isEmpty()) s.mapsHost = ini.mapsHost;
    if (!ini.mapsKey.isEmpty()) s.mapsKey = ini.mapsKey;
    if (!ini.caFile.isEmpty()) s.caFile = ini.caFile;
}

} // namespace cad::programstart
