#pragma once
#include "report/ReportDefinition.h"

class QWidget;

namespace cad {

class RecordSet;

/// The supplier sheet: a page per supplier with its name, code, address, telephones, type,
/// CNPJ/CPF and observations, over a record set of suppliers in the order it holds them.
class TrptFicha_FO
{
public:
    explicit TrptFicha_FO(const RecordSet& suppliers);

    static inline const QString kTitleItem = QStringLiteral("lblTitulo");

    [[nodiscard]] report::Report& form() { return m_form; }
    /// The title printed at the top of every sheet.
    void setTitle(const QString& title) { m_form.setText(kTitleItem, title); }
    [[nodiscard]] QString title() const { return m_form.item(kTitleItem).text; }

    /// Lays the sheets out and shows them in the print preview until the operator closes it.
    void preview(QWidget* parent);

private:
    report::Report m_form;
};

} // namespace cad
