#pragma once
#include <QString>
#include <QStringList>

namespace cad {

/// Service-address text of a look-up: an INI-style text whose values are found by key alone.
class TCadServicos
{
public:
    /// The file INIPATH when it exists (it replaces the text completely), else EMBEDDED.
    void Carregar(const QString& iniPath, const QString& embedded);

    /// Rest of the first line whose text before its first "=" is KEY, case ignored; empty when none.
    [[nodiscard]] QString Valor(const QString& key) const;

    [[nodiscard]] const QStringList& Linhas() const { return m_linhas; }

    /// The program's folder followed by NAME and ".ini".
    [[nodiscard]] static QString CaminhoPadrao(const QString& name);

private:
    QStringList m_linhas;
};

} // namespace cad
