// Starting, saving, abandoning and deleting a supplier, and the rules that run on every save.
#include "app/DataModule.h"
#include "app/ui/Dialogs.h"
#include "data/Values.h"
#include "data/widgets/DbLineEdit.h"
#include "data/widgets/DbLookupCombo.h"
#include "data/widgets/DbRadioGroup.h"

#include "core/DigitsOnly.h"
#include "core/WaitCursor.h"
#include "registry/CentralSync.h"
#include "registry/DocumentAlreadyStored.h"
#include "registry/TfrmFornecedor.h"
#include "taxpayer/CadValidador.h"
#include <QAbstractButton>

namespace cad {

void TfrmFornecedor::ToolButton1Click()
{
    waitcursor::Guard wait;
    if (!tbFornecedor.isOpen()) tbFornecedor.open();
    tbFornecedor.append();
    showBars(Bars::Editing);
    setTab(QStringLiteral("Dados"));
    m_nome->setFocus();
}

void TfrmFornecedor::ToolButton7Click()
{
    // A typed value that does not convert ends the command: it was reported, and nothing is saved.
    for (DbLineEdit* e : findChildren<DbLineEdit*>())
        if (!e->commitPending()) return;
    const QString shown = m_cgccpf->text();
    // A CNPJ may carry letters: the document is then its letters and digits, else its digits.
    const QString d = DocumentKey(shown);
    if (d.isEmpty()) dialogs::information(QStringLiteral("CPF ou CNPJ é Obrigatório !!!"));
    if (d.size() >= 2 && d.size() <= 11) {
        if (!DocumentCheckMessage(docCPF, d, {}).isEmpty())
            dialogs::information(QStringLiteral("CPF Invalido !!!"));
    } else if (shown.size() > 11) {
        if (!DocumentCheckMessage(docCNPJ, d, {}).isEmpty())
            dialogs::information(QStringLiteral("CNPJ Invalido !!!"));
    }

    waitcursor::Guard wait;
    if (tbFornecedor.state() == RecordSet::State::Insert && !d.isEmpty()) {
        if (DocumentAlreadyStored(tbFornec, d)) {
            dialogs::attention(QStringLiteral("Cnpf do Fornecedor já Cadastrado!!!"));
            m_cgccpf->setFocus();
            return;
        }
        tbFornecedor.setValue(QStringLiteral("Cgc"), d);
        tbFornecedor.setValue(QStringLiteral("cnpj"), d);
        tbFornecedor.post();
        tbFornecedor.refresh(/*keepCurrent=*/true); // also a saved supplier outside the search
    } else if (tbFornecedor.state() == RecordSet::State::Edit) {
        tbFornecedor.post();
        tbFornecedor.refresh(/*keepCurrent=*/true); // also a saved supplier outside the search
    } else if (tbFornecedor.state() == RecordSet::State::Insert) {
        tbFornecedor.post();
    }
    showBars(Bars::Browse);
    setTab(QStringLiteral("Listagem"));
}

void TfrmFornecedor::ToolButton8Click()
{
    tbFornecedor.cancel();
    showBars(Bars::Browse);
    setTab(QStringLiteral("Listagem"));
}

void TfrmFornecedor::btn1Click()
{
    if (!dialogs::ask(QStringLiteral("Exclusão"), QStringLiteral("Deseja excluir o Registro do Fornecedor?"),
                      dialogs::Answer::No))
        return;
    waitcursor::Guard wait;
    tbFornecedor.remove();
}

void TfrmFornecedor::tbFornecedorBeforePost(RecordSet& rs)
{
    rs.setValue(QStringLiteral("Tipos"), rs.text(QStringLiteral("Tiposdespesas")));
    rs.setValue(QStringLiteral("Gerencial"), rs.text(QStringLiteral("Gerenciais")));
    rs.setValue(QStringLiteral("ICompletCliFor"), rs.text(QStringLiteral("complemento")).left(25));
    // The municipality saved is the one the list shows (its cursor stands on it). When the list
    // shows none (a code of another state than the one it was narrowed to), the record keeps its
    // own: the row under the cursor would be some other municipality.
    QVariant city = QVariant(0);
    if (myqryMyMunicipios.isOpen() && !myqryMyMunicipios.isEmpty())
        city = m_cidades->currentIndex() >= 0 ? myqryMyMunicipios.value(QStringLiteral("codigo"))
                                              : rs.value(QStringLiteral("CodigoCidade"));
    rs.setValue(QStringLiteral("CodigoCidade"), city);
    rs.setValue(QStringLiteral("CodCidade"), city);
    const RecordSet& company = m_dm.tbConfiguracao;
    rs.setValue(QStringLiteral("codigofilial"), company.value(QStringLiteral("Controle")));
    const QVariant storeCode = company.value(QStringLiteral("codigoparvix"));
    rs.setValue(QStringLiteral("codigoparvix"),
                storeCode.isNull() ? QString() : values::generalNumber(storeCode.toDouble()).left(10));
    rs.setValue(QStringLiteral("filial"), company.value(QStringLiteral("Nome")));
}

void TfrmFornecedor::tbFornecedorAfterEdit(RecordSet&)
{
    showBars(Bars::Editing);
}

void TfrmFornecedor::tbFornecedorAfterPost(RecordSet& rs)
{
    m_central->copy(rs);
}

void TfrmFornecedor::dbedtCgccpfExit()
{
    // A person's document: no state registration caption, and a non-contributor; a company's: no RG caption.
    const QString d = DocumentKey(m_cgccpf->text());
    if (d.size() <= 11) {
        if (auto* caption = findChild<QWidget*>(QStringLiteral("lbl_dbedtIe"))) caption->hide();
        chooseNonContributor();
    } else if (auto* caption = findChild<QWidget*>(QStringLiteral("lbl_dbedtRg"))) {
        caption->hide();
    }
}

void TfrmFornecedor::chooseNonContributor()
{
    // As if the operator had picked it: the record enters editing only when the choice changes.
    QAbstractButton* nine = m_tipoContribuinte->buttons()->button(2);
    if (!nine->isChecked()) nine->click();
}

} // namespace cad
