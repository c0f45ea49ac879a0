#pragma once
#include "app/AdminIni.h"
#include "data/Connection.h"
#include "data/RecordSet.h"

#include <memory>

namespace cad {

/// The data module: both connections and the record sets shared by more than one screen.
class TDM
{
public:
    TDM();
    ~TDM();

    /// Reads Admin.ini in DIRECTORY and opens the local connection, then the central one.
    /// A failure ends the step (the central connection is not tried after a local failure)
    /// and is thrown to the caller; a connection left closed reopens on its next use.
    void DataModuleCreate(const QString& directory);

    Connection MyConnection1{QStringLiteral("local")};
    Connection MyOstrel{QStringLiteral("central")};
    RecordSet tbConfiguracao{MyConnection1, QStringLiteral("SELECT * FROM configuracao")};
    /// Whole supplier table by name, for the supplier sheet.
    RecordSet tbFornecedor{MyConnection1, QStringLiteral("SELECT * FROM fornecedor ORDER BY Nome")};
    RecordSet tbFornecedorOstrel{MyOstrel, QStringLiteral("Select * from fornecedor\nOrder by cgccpf")};

    [[nodiscard]] const AdminIni& ini() const { return m_ini; }

private:
    AdminIni m_ini;
};

} // namespace cad
