#pragma once
#include <QHash>
#include <QString>

/// The text widths each record set declares for its columns; a text written through the record
/// set is cut to them. Kept here, in one place, rather than in the screens.
namespace cad::schema {

enum class SupplierSet
{
    Screen,         ///< the supplier screen's record set (tbFornecedor)
    DuplicateCheck, ///< the duplicate check before a new supplier is saved (tbFornec)
    Route,          ///< the route screen's supplier record set
    Central         ///< the central table's record set (tbFornecedorOstrel)
};

[[nodiscard]] const QHash<QString, int>& widths(SupplierSet set);

} // namespace cad::schema
