#pragma once
// Start-up steps shared by the program and the tools that run its screens (the screenshot driver).

namespace cad {

struct AdminIni;

namespace programstart {

/// Before the application object exists: the route screen's browser refuses to start its sandbox
/// as root, so it is told not to.
void prepareEnvironment();
/// The web services' hosts, the Maps key and the extra CA file of Admin.ini's [SERVICOS] section.
void applyServiceSettings(const AdminIni& ini);

} // namespace programstart
} // namespace cad
