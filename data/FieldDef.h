#pragma once
#include <QString>

namespace cad {

/// What a column of a result is: its names, kind of value and the widths that apply to it.
struct FieldDef
{
    enum class Kind
    {
        Text,
        Memo,
        Integer,
        Float,
        Date,
        DateTime,
        Time,
        Bytes
    };

    QString name;     ///< as the statement returns it (alias, or the expression's text)
    QString orgName;  ///< the table column behind it, empty for an expression
    QString orgTable; ///< the table behind it, empty for an expression
    Kind kind = Kind::Text;
    int serverWidth = 0;   ///< characters the server column holds (texts)
    int declaredWidth = 0; ///< characters the record set declares; 0 when it declares none
    bool primaryKey = false;
    bool autoIncrement = false;

    [[nodiscard]] bool isText() const { return kind == Kind::Text || kind == Kind::Memo; }
    [[nodiscard]] bool isNumber() const { return kind == Kind::Integer || kind == Kind::Float; }
    /// Width a written text is cut to: the declaration, else the server column's.
    [[nodiscard]] int writeWidth() const { return declaredWidth > 0 ? declaredWidth : serverWidth; }
};

} // namespace cad
