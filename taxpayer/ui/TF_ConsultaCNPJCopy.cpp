// What a successful CNPJ look-up does: the result area, the supplier's columns and the lists.
#include "core/DigitsOnly.h"
#include "core/TextRoutines.h"
#include "data/RecordSet.h"
#include "data/widgets/DbLookupCombo.h"
#include "taxpayer/ui/TF_ConsultaCNPJ.h"

#include <QLineEdit>
#include <QListWidget>

namespace cad {

namespace {

// Trimmed of blanks and control characters, with NULs removed inside too.
QString trimmedWithoutNul(QString text)
{
    text.remove(QChar(0));
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) <= u' ')
        ++begin;
    while (end > begin && text.at(end - 1) <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

// The registry spells municipalities without accents ("SAO PAULO") while the municipality table
// keeps them ("São Paulo"): names are compared without accents and letter case.
QString foldedForMatch(const QString& text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) out += c;
    return out.toCaseFolded();
}

// The zero date of the service's dates is shown as the day the calendar of dates starts.
QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("30/12/1899");
}

} // namespace

void TF_ConsultaCNPJ::fillResults()
{
    const TCadConsultaCNPJ& c = CadConsultaCNPJ1;
    m_editTipo->setText(c.EmpresaTipo());
    m_editRazaoSocial->setText(UpperAZ(c.RazaoSocial()));
    m_editAbertura->setText(dateText(c.Abertura()));
    m_editFantasia->setText(UpperAZ(c.Fantasia()));
    m_editEndereco->setText(UpperAZ(c.Endereco()));
    m_editNumero->setText(UpperAZ(c.Numero()));
    m_editComplemento->setText(UpperAZ(c.Complemento()));
    m_editBairro->setText(UpperAZ(c.Bairro()));
    m_editCidade->setText(UpperAZ(c.Cidade()));
    m_editUF->setText(UpperAZ(c.UF()));
    m_editCEP->setText(c.CEP());
    m_editSituacao->setText(c.Situacao());
    m_editCNAE1->setText(c.CNAE1());
    m_editEmail->setText(c.EndEletronico());
    m_editTelefone->setText(c.Telefone());
    m_listCNAE2->clear();
    m_listCNAE2->addItems(c.CNAE2());
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->setCursorPosition(0);
}

// Into the pending row as it stands: no editing started, nothing saved. Nome goes first, so a
// record that is not being edited refuses the first write and nothing is written.
void TF_ConsultaCNPJ::writeSupplier()
{
    const TCadConsultaCNPJ& c = CadConsultaCNPJ1;
    QString cnae;
    for (const QString& entry : c.CNAE2())
        cnae += entry + QStringLiteral("\r\n");
    m_fornecedor.setValue(QStringLiteral("Nome"), UpperAZ(c.RazaoSocial()));
    m_fornecedor.setValue(QStringLiteral("nomefan"), UpperAZ(c.Fantasia()));
    m_fornecedor.setValue(QStringLiteral("Endereco"), UpperAZ(c.Endereco()));
    m_fornecedor.setValue(QStringLiteral("Numero"), UpperAZ(c.Numero()));
    m_fornecedor.setValue(QStringLiteral("complemento"), trimmedWithoutNul(c.Complemento()));
    m_fornecedor.setValue(QStringLiteral("Bairro"), UpperAZ(c.Bairro()));
    m_fornecedor.setValue(QStringLiteral("Cidade"), UpperAZ(c.Cidade()));
    m_fornecedor.setValue(QStringLiteral("Cep"), DigitsOnly(c.CEP()));
    m_fornecedor.setValue(QStringLiteral("email"), c.EndEletronico());
    m_fornecedor.setValue(QStringLiteral("Telefone1"), c.Telefone());
    m_fornecedor.setValue(QStringLiteral("situacao"), c.Situacao());
    m_fornecedor.setValue(QStringLiteral("cnaeprincipal"), c.CNAE1());
    m_fornecedor.setValue(QStringLiteral("CNAE"), cnae);
    m_fornecedor.setValue(QStringLiteral("Cgccpf"), DocumentKey(c.CNPJ()));
    m_fornecedor.setValue(QStringLiteral("tipoempresa"), c.EmpresaTipo());
}

// The state is chosen as the operator's pick would (written to Estado, the municipality list
// narrowed to it); the municipality list's cursor, which the save takes the municipality from,
// goes to the first of its rows of that state whose name begins with the company's municipality.
void TF_ConsultaCNPJ::positionLists()
{
    const QString uf = CadConsultaCNPJ1.UF();
    const QString cidade = CadConsultaCNPJ1.Cidade();
    m_ufs.choose(uf);

    RecordSet& municipios = *m_municipios.list();
    if (!municipios.isOpen()) municipios.open();
    // A municipality hidden by the service (asterisks) comes back empty: an empty prefix would
    // match the list's first row and give the supplier a municipality that is not the company's.
    if (!uf.trimmed().isEmpty() && !cidade.trimmed().isEmpty()) {
        const QString ufKey = foldedForMatch(uf);
        const QString cidadeKey = foldedForMatch(cidade);
        const int ufCol = municipios.fieldIndex(QStringLiteral("uf"));
        const int nomeCol = municipios.fieldIndex(QStringLiteral("nome"));
        const int codigoCol = municipios.fieldIndex(QStringLiteral("codigo"));
        for (int r = 0; r < municipios.rowCount(); ++r) {
            if (foldedForMatch(municipios.valueAt(r, ufCol).toString()).startsWith(ufKey) &&
                foldedForMatch(municipios.valueAt(r, nomeCol).toString()).startsWith(cidadeKey)) {
                m_municipios.choose(municipios.valueAt(r, codigoCol));
                return;
            }
        }
    }
    // None found: a municipality the list does not show (another state's) is not kept.
    if (m_municipios.shownText().isEmpty()) m_municipios.choose(QVariant());
}

} // namespace cad
