// Address look-up of the supplier screen, and its state and municipality lists.
#include "address/ui/TfrmEnderecosEncontrados.h"
#include "app/ui/Dialogs.h"
#include "core/DigitsOnly.h"
#include "core/TextRoutines.h"
#include "core/WaitCursor.h"
#include "data/Values.h"
#include "data/widgets/DbLineEdit.h"
#include "data/widgets/DbLookupCombo.h"
#include "registry/CentralSync.h"
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
    myqryMyMunicipios.setParam(QStringLiteral("uf"),
                               m_ufs->key().isNull() ? QString() : m_ufs->key().toString());
    myqryMyMunicipios.open();
}

QString TfrmFornecedor::cityNameFor(const QVariant& code) const
{
    if (!myqryMyMunicipios.isOpen() || code.isNull()) return {};
    const int codeCol = myqryMyMunicipios.fieldIndex(QStringLiteral("codigo"));
    for (int r = 0; r < myqryMyMunicipios.rowCount(); ++r)
        if (values::equal(myqryMyMunicipios.valueAt(r, codeCol), code))
            return myqryMyMunicipios.valueAt(r, QStringLiteral("nome")).toString();
    return {};
}

void TfrmFornecedor::img1Click()
{
    auto* cep = findChild<DbLineEdit*>(QStringLiteral("dbedtCep"));
    if (tbFornecedor.state() != RecordSet::State::Edit) {
        // The editing arrangement of the bars, without starting to edit.
        showBars(Bars::Editing);
        cep->setFocus();
    }
    const QString digits = DigitsOnly(cep->text());
    if (digits.size() != 8) {
        dialogs::show({QStringLiteral("Parvix Sistemas, Atenção !!!"),
                       QStringLiteral("Preencher com Cep Valido !!!"), dialogs::Icon::Warning,
                       dialogs::Buttons::Ok, dialogs::Answer::Ok});
        return;
    }
    (void)CadCEP1.BuscarPorCEP(digits); // the answer is handled in CadCEP1BuscaEfetuada
}

void TfrmFornecedor::CadCEP1BuscaEfetuada()
{
    const TCadCEPEnderecos& found = CadCEP1.Enderecos();
    if (found.Count() == 0) {
        dialogs::information(QStringLiteral("Nenhum Endereço encontrado"));
        return;
    }
    if (found.Count() == 1) {
        const TCadCEPEndereco& e = found[0];
        const QString cepShown = findChild<DbLineEdit*>(QStringLiteral("dbedtCep"))->text();
        const QString question =
            QStringList{QStringLiteral("O CEP ") + cepShown +
                            QStringLiteral(" foi consultado e retornou os seguintes dados:"),
                        QString(),
                        QStringLiteral("Endereço completo: ") + e.TipoLogradouro + u' ' + e.Logradouro +
                            QStringLiteral(" - ") + e.Complemento,
                        QString(19, u' ') + e.Bairro + QStringLiteral(" - ") + e.Cidade + u'/' + e.UF,
                        QString(),
                        QStringLiteral("Atualizar endereço com estes dados")}
                .join(QStringLiteral("\r\n"));
        if (!dialogs::ask(QStringLiteral("CONSULTA CEP"), question, dialogs::Answer::Yes)) return;
        // As received: the street begins with a blank, as the service gives no street type.
        tbFornecedor.setValue(QStringLiteral("Endereco"), e.TipoLogradouro + u' ' + e.Logradouro);
        tbFornecedor.setValue(QStringLiteral("complemento"), e.Complemento);
        tbFornecedor.setValue(QStringLiteral("Bairro"), e.Bairro);
        chooseStateAndMunicipality(e.UF, e.CodigoCidade);
        return;
    }

    TfrmEnderecosEncontrados dialog(this);
    MemoryTable& table = dialog.VirtualTable1;
    table.clear();
    for (int i = 0; i < found.Count(); ++i) {
        const TCadCEPEndereco& e = found[i];
        table.append({{QStringLiteral("Logradouro"), e.TipoLogradouro + u' ' + e.Logradouro},
                      {QStringLiteral("Complemento"), e.Complemento},
                      {QStringLiteral("Bairro"), e.Bairro},
                      {QStringLiteral("Cidade"), e.Cidade},
                      {QStringLiteral("CodigoCidade"), e.CodigoCidade},
                      {QStringLiteral("UF"), e.UF}});
    }
    if (dialog.exec() != QDialog::Accepted) return;
    // Only a to z are capitalised; accented letters stay as they came.
    const auto upper = [&table](const char* field) {
        return UpperAZ(table.value(QString::fromLatin1(field)));
    };
    tbFornecedor.setValue(QStringLiteral("Endereco"), upper("Logradouro"));
    tbFornecedor.setValue(QStringLiteral("complemento"), upper("Complemento"));
    tbFornecedor.setValue(QStringLiteral("Bairro"), upper("Bairro"));
    tbFornecedor.setValue(QStringLiteral("Cidade"), upper("Cidade"));
    chooseStateAndMunicipality(upper("UF"), table.value(QStringLiteral("CodigoCidade")));
}

// The state is written as the operator's pick would write it, so what the lists show is what is
// saved: never one state with another state's municipality.
void TfrmFornecedor::chooseStateAndMunicipality(const QString& uf, const QVariant& codigoCidade)
{
    if (!m_ufs->choose(uf)) dblkcbbufsClick(); // a shown state narrows the list through its pick
    m_cidades->choose(codigoCidade);
}

} // namespace cad
