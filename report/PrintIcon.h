#pragma once
#include <QIcon>

namespace cad::report {

/// A printer, drawn by the program, for "Imprimir" where the desktop theme has no print icon.
[[nodiscard]] QIcon printIcon();

} // namespace cad::report
