#include "app/DataModule.h"

#include "schema/RecordSetWidths.h"

#include <QDir>

namespace cad {

namespace {

ConnectionSettings settingsOf(const AdminIni& ini, const ServerSection& s, const QString& section,
                              const QString& user)
{
    ConnectionSettings c;
    c.port = s.porta;
    c.host = s.servidor;
    c.database = s.banco;
    c.user = user;
    c.password = s.senha;
    c.connectTimeoutSeconds = 120;
    c.readWriteTimeoutSeconds = s.tempoEspera;
    // Older Admin.ini files have no password (it was inside the program): say so rather than
    // show the server's bare access-denied text, on the first attempt and on every later one.
    // Without any file the defaults are tried as they are.
    if (ini.found && !s.hasSenha)
        c.configurationError = QStringLiteral("Admin.ini: falta SENHA na seção [%1]").arg(section);
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
    MyConnection1.setSettings(
        settingsOf(m_ini, m_ini.local, QStringLiteral("LOCAL"), QStringLiteral("root")));
    MyOstrel.setSettings(
        settingsOf(m_ini, m_ini.gerencia, QStringLiteral("GERENCIA"), QStringLiteral("parvixsistemasinfo")));
    MyConnection1.open();
    MyOstrel.open();
}

} // namespace cad
