#include "http/ServiceSettings.h"

#include <QtGlobal>

namespace cad {

void ServiceSettings::loadFromEnvironment()
{
    const QString ca = qEnvironmentVariable("CAD_CA_FILE");
    if (!ca.isEmpty()) caFile = ca;
}

ServiceSettings& serviceSettings()
{
    static ServiceSettings settings = [] {
        ServiceSettings s;
        s.loadFromEnvironment();
        return s;
    }();
    return settings;
}

} // namespace cad
