#pragma once
#include "data/RecordSet.h"

#include <QString>

namespace cad {

/// True when the local table already holds a supplier with document D (the letters and digits of
/// a CPF/CNPJ as typed). A number is compared as a number, as the server reads the stored text; a
/// document with letters by the letters and digits of every stored one, case ignored. Runs on
/// LOOKUP, which is left closed.
[[nodiscard]] bool DocumentAlreadyStored(RecordSet& lookup, const QString& d);

} // namespace cad
