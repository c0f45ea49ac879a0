#pragma once
#include <QString>

namespace cad {

/// TEXT for a form body sent as typed: only "%", "&" and "+", which would change the body's
/// meaning (a new field, a blank, an escape), are percent-encoded; everything else goes as is.
[[nodiscard]] QString FormValue(const QString& text);

} // namespace cad
