#pragma once
#include <QString>

namespace cad {

/// The characters '0' to '9' of TEXT, in order; everything else (letters, punctuation,
/// blanks, other scripts' digits) is dropped. Used on CPF, CNPJ and CEP before they are
/// validated, compared or stored.
[[nodiscard]] QString DigitsOnly(const QString& text);

/// The letters A to Z (a to z raised to capitals) and the digits '0' to '9' of TEXT, in order;
/// everything else is dropped. A CNPJ may carry letters in its first twelve positions, so this is
/// what identifies a CPF or CNPJ; for a document of digits it equals DigitsOnly.
[[nodiscard]] QString LettersAndDigits(const QString& text);

/// True when TEXT holds a letter A to Z or a to z.
[[nodiscard]] bool HasLetterAZ(const QString& text);

/// The CPF/CNPJ a typed TEXT stands for: its letters and digits when they are fourteen (a CNPJ,
/// which may hold letters), otherwise its digits alone, so a text such as ISENTO is no document.
/// For a document of digits it equals DigitsOnly.
[[nodiscard]] QString DocumentKey(const QString& text);

} // namespace cad
