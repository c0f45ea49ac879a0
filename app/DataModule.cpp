#include "app/DataModule.h"

#include "schema/RecordSetWidths.h"

#include <QDir>

namespace cad {

namespace {

ConnectionSettings settingsOf(const ServerSection& s, const QString& user)
{
    ConnectionSettings c;
    c.port = s.porta;
    c.host = s.servidor;
    c.database = s.banco;
    c.user = user;
    c.password = s.senha;
    c.connectTimeoutSeconds = 120;
    c.readWriteTimeoutSeconds = s.tempoEspera;
    return c;
}

} // namespace

TDM::TDM()
{
    tbConfiguracao.setReadOnly(true);
    tbFornecedor.setReadOnly(true);
    tbFornecedorOstrel.setDeclaredWidths(schema::widths(schema::SupplierSet::Central));
}

TDM::~TDM() = default;

void TDM::DataModuleCreate(const QString& directory)
{
    m_ini = AdminIni::read(QDir(directory).filePath(QStringLiteral("Admin.ini")));
    MyConnection1.close();
    MyOstrel.close();
    // Both are configured first, so a central connection skipped here can still reopen later.
    MyConnection1.setSettings(settingsOf(m_ini.local, QStringLiteral("root")));
    MyOstrel.setSettings(settingsOf(m_ini.gerencia, QStringLiteral("parvixsistemasinfo")));
    MyConnection1.open();
    MyOstrel.open();
}

} // namespace cad
