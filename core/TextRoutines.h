#pragma once
// Text routines shared by the look-up parsers, and the single-byte code-page conversions.
#include <QByteArray>
#include <QString>

namespace cad {

/// Replaces the fixed set of character entities the look-up pages use (&amp; first, &nbsp; never).
[[nodiscard]] QString DecodeEntities(const QString& text);
/// Deletes every "<...>" tag; text on both sides joins and line breaks stay.
[[nodiscard]] QString StripTags(const QString& text);
/// Removes blanks and control characters (every character up to the blank) at both ends; a
/// no-break space or any other character above the blank stays.
[[nodiscard]] QString TrimBlanks(const QString& text);
/// Trims as TrimBlanks and reduces runs of blanks to one.
[[nodiscard]] QString CollapseSpaces(const QString& text);

/// Letters a to z in upper case; every other character, accented letters too, stays as it is.
[[nodiscard]] QString UpperAZ(QString text);

/// Bytes in Windows-1252 to text (every byte maps to one character).
[[nodiscard]] QString FromSingleByte(const QByteArray& bytes);
/// Text to Windows-1252 bytes; characters outside the code page become "?".
[[nodiscard]] QByteArray ToSingleByte(const QString& text);
/// Reads the text's single-byte characters as UTF-8 and converts the result back to the code page
/// (characters outside it become "?"). Malformed or empty UTF-8 leaves the text unchanged.
[[nodiscard]] QString Utf8ToSingleByte(const QString& text);
/// The same for raw bytes: well-formed UTF-8 is converted, anything else is read as the code page.
[[nodiscard]] QString Utf8BytesToSingleByte(const QByteArray& bytes);

} // namespace cad
