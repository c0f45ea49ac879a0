// The "Entrada" tab: invoices received from the current supplier and the items of the chosen one.
#include "data/widgets/DbGrid.h"
#include "registry/TfrmFornecedor.h"

#include <QSplitter>
#include <QVBoxLayout>

namespace cad {

namespace {

const QColor kCancelled(255, 166, 166);
const QColor kNotImported(255, 255, 147);

bool flagIs(const RecordSet& rs, int row, const QString& field, const char* value)
{
    return rs.valueAt(row, field).toString() == QLatin1String(value);
}

} // namespace

QWidget* TfrmFornecedor::buildEntradaTab()
{
    auto* tab = new QWidget;
    auto* v = new QVBoxLayout(tab);
    v->setContentsMargins(0, 0, 0, 0);
    auto* split = new QSplitter(Qt::Vertical, tab);
    m_notaGrid = new DbGrid(myqryNota,
                            {{QStringLiteral("NFCancelada"), QStringLiteral("Posição"), 42},
                             {QStringLiteral("Codigonota"), QStringLiteral("Nº Controle"), 74},
                             {QStringLiteral("Notafiscal"), QStringLiteral("Nº Nota Fiscal"), 71},
                             {QStringLiteral("Data"), QStringLiteral("Data"), 64},
                             {QStringLiteral("dataentrada"), QStringLiteral("Dt.Entrada"), 74},
                             {QStringLiteral("chave"), QStringLiteral("Chave"), 273},
                             {QStringLiteral("operacao"), QStringLiteral("Operação"), 144},
                             {QStringLiteral("vProd"), QStringLiteral("Valor Produto"), 86},
                             {QStringLiteral("valor"), QStringLiteral("Valor Nota R$"), 88},
                             {QStringLiteral("totalfrete"), QStringLiteral("Total Frete"), 74},
                             {QStringLiteral("vTotTrib"), QStringLiteral("Valor Tributos"), 88},
                             {QStringLiteral("vNF"), QStringLiteral("Valor Nota"), 74}},
                            split);
    m_notaGrid->setObjectName(QStringLiteral("grdNota"));
    m_notaGrid->recordModel()->rowBackground = [](const RecordSet& rs, int row) {
        return flagIs(rs, row, QStringLiteral("NFCancelada"), "S") ? kCancelled : QColor();
    };
    const auto twoDecimals = ColumnDef::Format::TwoDecimals;
    m_itemGrid = new DbGrid(tbEntrada,
                            {{QStringLiteral("NFCancelada"), QStringLiteral("Posição"), 54},
                             {QStringLiteral("Codigonota"), QStringLiteral("Nº Controle"), 74},
                             {QStringLiteral("notafiscal"), QStringLiteral("Nº Nota Fiscal"), 64},
                             {QStringLiteral("Codigoproduto"), QStringLiteral("Código"), 64},
                             {QStringLiteral("produto"), QStringLiteral("Descrição do Produto"), 430},
                             {QStringLiteral("Preco"), QStringLiteral("Preço"), 64, twoDecimals},
                             {QStringLiteral("Qt"), QStringLiteral("Qtd."), 64, twoDecimals}},
                            split);
    m_itemGrid->setObjectName(QStringLiteral("grdItens"));
    m_itemGrid->recordModel()->rowBackground = [](const RecordSet& rs, int row) {
        if (flagIs(rs, row, QStringLiteral("importacao"), "N")) return kNotImported;
        return flagIs(rs, row, QStringLiteral("NFCancelada"), "S") ? kCancelled : QColor();
    };
    split->addWidget(m_notaGrid);
    split->addWidget(m_itemGrid);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    v->addWidget(split);
    return tab;
}

void TfrmFornecedor::openPurchaseHistory()
{
    tbEntrada.open();
    myqryNota.open();
    myqryNota.last();
}

} // namespace cad
