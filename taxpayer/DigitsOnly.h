#pragma once
#include <QString>

/// The characters '0' to '9' of TEXT, in order; everything else (letters, punctuation,
/// blanks, other scripts' digits) is dropped. Used on CPF, CNPJ and CEP before they are
/// validated, compared or stored.
[[nodiscard]] QString DigitsOnly(const QString& text);
