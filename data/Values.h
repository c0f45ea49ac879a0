#pragma once
#include "data/FieldDef.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <string_view>

/// Conversions between the server's text form of a value, QVariant and what the operator sees.
namespace cad::values {

[[nodiscard]] QVariant fromServerText(FieldDef::Kind kind, std::string_view bytes);
[[nodiscard]] QByteArray toServerText(FieldDef::Kind kind, const QVariant& v);
/// The value as the column will hold it: texts cut to the width, numbers and dates parsed
/// from text ("" is NULL). Throws DbError for a text that is not a number or date.
[[nodiscard]] QVariant convertForField(const FieldDef& f, const QVariant& v);
/// Equality as a key comparison: numbers by value, anything else as text.
[[nodiscard]] bool equal(const QVariant& a, const QVariant& b);
/// Order for client-side sorting: NULL first, numbers and dates by value, texts ignoring case.
[[nodiscard]] int compare(const QVariant& a, const QVariant& b);

/// The text with every character outside the single-byte code page (Windows-1252) as "?".
[[nodiscard]] QString toSingleByteRange(const QString& text);
/// General number format: up to 15 significant digits, no thousands separator, no trailing zeros.
[[nodiscard]] QString generalNumber(double v);
/// "#,##0.00": grouped thousands and exactly two decimals.
[[nodiscard]] QString groupedTwoDecimals(double v);
/// A value as a list shows it (dates in the locale's short form, numbers in general format).
[[nodiscard]] QString display(const QVariant& v);

} // namespace cad::values
