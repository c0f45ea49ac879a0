// "Relatório" / "Por Ordem Alfabética": the supplier sheet in a print preview.
#include "app/DataModule.h"
#include "core/WaitCursor.h"
#include "registry/TfrmFornecedor.h"
#include "reports/TrptFicha_FO.h"

namespace cad {

namespace {

/// Closes the report's read on every way out, so the next report reads the table afresh.
struct CloseOnExit
{
    RecordSet& rs;
    ~CloseOnExit() { rs.close(); }
};

} // namespace

void TfrmFornecedor::PorOrdemAlfabeticaClick()
{
    // The data module's own read of the whole table: the screen's search and row stay as they are.
    RecordSet& suppliers = m_dm.tbFornecedor;
    CloseOnExit closer{suppliers};
    {
        waitcursor::Guard wait;
        suppliers.close();
        suppliers.open();
    }
    TrptFicha_FO report(suppliers);
    report.setTitle(QStringLiteral("Relatório Fornecedores por Nome"));
    report.preview(this);
}

} // namespace cad
