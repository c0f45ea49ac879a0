// Address look-up of the supplier screen, and its state and municipality lists.
#include "data/Values.h"
#include "data/widgets/DbLookupCombo.h"
#include "http/WaitCursor.h"
#include "registry/TfrmFornecedor.h"

namespace cad {

void TfrmFornecedor::setupCadCEP1()
{
    CadCEP1.SetProxyPort(QStringLiteral("8080"));
    CadCEP1.SetParseText(true);
    CadCEP1.SetWebService(wsViaCep);
    CadCEP1.SetPesquisarIBGE(true);
    CadCEP1.OnBuscaEfetuada = [this](TCadCEPWSClass*) { CadCEP1BuscaEfetuada(); };
}

void TfrmFornecedor::dblkcbbufsClick()
{
    waitcursor::Guard wait;
    // From now on the list holds the chosen state's municipalities, names as stored.
    myqryMyMunicipios.close();
    myqryMyMunicipios.setSql(QStringLiteral("select * from municipios_ibge where (uf=:uf) order by nome"));
    myqryMyMunicipios.setParam(QStringLiteral("uf"), m_ufs->key().isNull() ? QString() : m_ufs->key().toString());
    myqryMyMunicipios.open();
}

QString TfrmFornecedor::cityNameFor(const QVariant& code) const
{
    if (!myqryMyMunicipios.isOpen() || code.isNull())
        return {};
    const int codeCol = myqryMyMunicipios.fieldIndex(QStringLiteral("codigo"));
    for (int r = 0; r < myqryMyMunicipios.rowCount(); ++r)
        if (values::equal(myqryMyMunicipios.valueAt(r, codeCol), code))
            return myqryMyMunicipios.valueAt(r, QStringLiteral("nome")).toString();
    return {};
}

void TfrmFornecedor::img1Click()
{
    // Postal-code look-up: filled in with the address look-up.
}

void TfrmFornecedor::CadCEP1BuscaEfetuada()
{
}

} // namespace cad
