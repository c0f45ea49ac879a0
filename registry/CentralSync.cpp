#include "registry/CentralSync.h"

#include "app/DataModule.h"
#include "core/Clock.h"
#include "core/DigitsOnly.h"
#include "core/TextRoutines.h"

#include <QLocale>

namespace cad {

bool CentralSync::hasRequiredValues(const RecordSet& local)
{
    const QVariant code = local.value(QStringLiteral("CodigoFornecedor"));
    if (code.isNull() || code.toDouble() == 0) return false;
    // A text of blanks counts as present; NULL and the empty text do not.
    for (const char* name :
         {"Cgccpf", "codigoparvix", "Nome", "Endereco", "Numero", "Bairro", "Cidade", "Cep", "Estado"})
        if (local.value(QLatin1String(name)).toString().isEmpty()) return false;
    return !local.isNull(QStringLiteral("CodigoCidade")) && !local.isNull(QStringLiteral("TipoContribuinte"));
}

void CentralSync::copy(const RecordSet& local)
try {
    if (!hasRequiredValues(local)) return;
    // A CNPJ with letters keeps them (two companies sharing the digits never share a row); any other
    // document is its digits alone, as the central rows of numbers always were. No key at all: an
    // empty key must not match (and overwrite) any row.
    const QString key = DocumentKey(local.text(QStringLiteral("Cgccpf")));
    if (key.isEmpty()) return;

    RecordSet& central = m_dm.tbFornecedorOstrel;
    central.close(); // a row left pending by an earlier failed copy is discarded
    // Compared as text with the indexed column: rows written here always hold the key alone.
    central.setSql(QStringLiteral("SELECT * FROM fornecedor WHERE Cgccpf = :cgccpf"));
    central.setParam(QStringLiteral("cgccpf"), key);
    central.open();
    if (central.isEmpty())
        central.append();
    else
        central.edit();

    const QString storeCode = local.text(QStringLiteral("codigoparvix"));
    bool ok = false;
    const double storeNumber = QLocale().toDouble(storeCode.trimmed(), &ok);
    if (!ok) throw DbError(QStringLiteral("'%1' não é um valor numérico válido").arg(storeCode));
    const QVariant cityCode = local.value(QStringLiteral("CodigoCidade"));
    const QDateTime now = clock::now();
    auto text = [&](const char* name) { return local.text(QLatin1String(name)); };
    // Optional columns copied as they are: a NULL stays NULL, never the empty text.
    auto nullable = [&](const char* name, QString (*convert)(QString)) {
        return local.isNull(QLatin1String(name)) ? QVariant() : QVariant(convert(text(name)));
    };
    const auto same = [](QString s) { return s; };

    central.setValue(QStringLiteral("CodigoFornecedor"),
                     local.value(QStringLiteral("CodigoFornecedor")).toDouble());
    central.setValue(QStringLiteral("Cgccpf"), key);
    central.setValue(QStringLiteral("codigofilial"), storeNumber);
    central.setValue(QStringLiteral("filial"), UpperAZ(text("filial")));
    central.setValue(QStringLiteral("razaosocial"), UpperAZ(text("Nome")));
    central.setValue(QStringLiteral("nomefantasia"), nullable("nomefan", UpperAZ));
    central.setValue(QStringLiteral("Endereco"), UpperAZ(text("Endereco")));
    central.setValue(QStringLiteral("Numero"), text("Numero"));
    central.setValue(QStringLiteral("Bairro"), UpperAZ(text("Bairro")));
    central.setValue(QStringLiteral("Cidade"), UpperAZ(m_cityName ? m_cityName(cityCode) : QString()));
    central.setValue(QStringLiteral("complemento"), nullable("complemento", UpperAZ));
    central.setValue(QStringLiteral("Cep"), DigitsOnly(text("Cep")));
    central.setValue(QStringLiteral("Estado"), UpperAZ(text("Estado")));
    central.setValue(QStringLiteral("Telefone1"), nullable("Telefone1", same));
    central.setValue(QStringLiteral("Telefone2"), nullable("Telefone2", same));
    central.setValue(QStringLiteral("email"), nullable("email", same));
    central.setValue(QStringLiteral("contato"), nullable("contato", same));
    central.setValue(QStringLiteral("ie"), nullable("ie", same));
    central.setValue(QStringLiteral("CodigoCidade"), cityCode);
    central.setValue(QStringLiteral("TipoContribuinte"), local.value(QStringLiteral("TipoContribuinte")));
    central.setValue(QStringLiteral("horauniao"), now.time());
    central.setValue(QStringLiteral("dataauniao"), now.date());
    central.post();
    if (m_outcome) m_outcome(local, QString());
} catch (const std::exception& e) {
    // Only a copy that got past its preconditions can fail: they throw nothing.
    if (m_outcome) m_outcome(local, QString::fromUtf8(e.what()));
    throw;
}

} // namespace cad
