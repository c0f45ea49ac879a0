#include "reports/TrptFicha_FO.h"

#include "core/WaitCursor.h"
#include "report/ReportLayout.h"
#include "report/ReportPreview.h"

#include <memory>

namespace cad {

namespace {

using report::Sizing;

struct Entry
{
    qreal top;
    qreal left;
    qreal width;
    const char* name;
    const char* text;  ///< a caption's text
    const char* field; ///< a value's column
    Sizing sizing = Sizing::AutoSize;
};

// Positions in millimetres from the band's top-left corner; widths are the design widths. The code
// box holds nine digits, and the second telephone and the document sit where an ordinary first
// telephone and type name ("PESSOA JURIDICA") end, in the fonts' metrics: no value covers the next
// item. A longer value is cut where the next item begins (ReportLayout).
const Entry kEntries[] = {
    {40.8, 4.2, 32.1, "lblFornecedor", "Fornecedor: ", nullptr},
    {40.1, 38.6, 25.5, "fldCodigofornecedor", nullptr, "Codigofornecedor", Sizing::Stretch},
    {40.8, 65.5, 13.6, "fldNome", nullptr, "Nome"},
    {52.2, 4.2, 26.8, "lblEndereco", "Endereço: ", nullptr},
    {51.8, 34.0, 22.3, "fldEndereco", nullptr, "Endereco"},
    {63.5, 4.2, 18.9, "lblBairro", "Bairro: ", nullptr},
    {63.5, 26.5, 13.6, "fldBairro", nullptr, "Bairro"},
    {73.3, 4.2, 20.8, "lblCidade", "Cidade: ", nullptr},
    {73.3, 26.5, 16.3, "fldCidade", nullptr, "Cidade"},
    {73.3, 109.6, 20.8, "lblEstado", "Estado: ", nullptr},
    {73.3, 131.5, 11.0, "fldEstado", nullptr, "Estado", Sizing::Stretch},
    {73.3, 145.9, 13.6, "lblCep", "CEP: ", nullptr},
    {73.3, 161.0, 9.8, "fldCep", nullptr, "Cep"},
    {84.3, 4.2, 26.5, "lblTelefones", "Telefones:", nullptr},
    {84.3, 32.5, 23.4, "fldTelefone1", nullptr, "Telefone1"},
    {84.3, 70.0, 23.4, "fldTelefone2", nullptr, "Telefone2"},
    {94.9, 4.2, 13.2, "lblTipo", "Tipo:", nullptr},
    {94.9, 20.0, 10.2, "fldTipo", nullptr, "Tipo"},
    {94.9, 67.0, 25.3, "lblCgccpf", "CGC/CPF:", nullptr},
    {94.9, 93.5, 21.9, "fldCgccpf", nullptr, "Cgccpf"},
    {108.1, 4.2, 12.9, "lblObs", "OBS:", nullptr},
    {108.5, 45.0, 9.8, "fldObs", nullptr, "Obs"},
};

} // namespace

TrptFicha_FO::TrptFicha_FO(const RecordSet& suppliers)
{
    m_form.page.frame = true; // A4 portrait, 10 mm margins: the page description's defaults
    m_form.setDataSource(&suppliers);
    report::Band& band = m_form.addBand(report::BandKind::Detail, QSizeF(190.1, 275.5));

    QFont title = report::reportFont(QStringLiteral("Tahoma"), 28, true);
    title.setItalic(true);
    title.setUnderline(true);
    band.addCaption(kTitleItem, QStringLiteral("Ficha de Fornecedores"), QRectF(0, 8.7, 110.7, 0), title)
        .centred = true;

    const QFont caption = report::reportFont(QStringLiteral("Tahoma"), 14, true);
    const QFont value = report::reportFont(QStringLiteral("Arial"), 14);
    for (const Entry& e : kEntries) {
        const QRectF box(e.left, e.top, e.width, 0);
        report::ReportItem& item =
            e.field ? band.addField(QLatin1String(e.name), QLatin1String(e.field), box, value)
                    : band.addCaption(QLatin1String(e.name), QString::fromUtf8(e.text), box, caption);
        item.sizing = e.sizing;
    }
}

void TrptFicha_FO::preview(QWidget* parent)
{
    std::unique_ptr<report::ReportLayout> layout;
    {
        waitcursor::Guard wait;
        layout = std::make_unique<report::ReportLayout>(m_form);
    }
    report::ReportPreview window(*layout, title(), parent);
    window.exec();
}

} // namespace cad
