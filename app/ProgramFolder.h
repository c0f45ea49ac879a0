#pragma once
#include <QString>

namespace cad {

/// Where the program keeps a file it writes for itself (the route page, the captcha image): in
/// FOLDER (the executable's folder by default), as always; when an installation left that folder
/// read-only to the operator, in the operator's own data folder instead.
[[nodiscard]] QString programWrittenFile(const QString& name, const QString& folder = {});

} // namespace cad
