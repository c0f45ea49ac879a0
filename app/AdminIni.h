#pragma once
#include <QString>

namespace cad {

/// One server's section of Admin.ini.
struct ServerSection
{
    int porta = 0;
    QString servidor;
    QString banco;
    QString senha;
    /// TEMPOESPERA: seconds each read or write may wait for the server; absent or not a whole
    /// number gives the default, 0 or less no limit of the program's own.
    int tempoEspera = kTempoEsperaPadrao;
    static constexpr int kTempoEsperaPadrao = 60;
    bool hasSenha = false; ///< the section has a SENHA line (files of older versions have none)
};

/// Admin.ini, the configuration file beside the executable. Read only, never written.
struct AdminIni
{
    ServerSection local;
    ServerSection loja; ///< read and not used
    ServerSection gerencia;
    /// Optional [SERVICOS] section: hosts of the web services and an extra CA file.
    QString cnpjHost, cpfHost, viaCepHost, mapsHost, mapsKey, caFile;
    /// [GERENCIA] REENVIOMINUTOS: minutes between retries of the pending central copies, 0 for
    /// none; absent, negative or not a whole number gives the default.
    int retryMinutes = kDefaultRetryMinutes;
    static constexpr int kDefaultRetryMinutes = 5;
    bool found = false; ///< the file was there and could be read

    /// Reads PATH; a missing file or key leaves the defaults (port 0, empty texts).
    [[nodiscard]] static AdminIni read(const QString& path);
};

/// The whole number in TEXT, or 0 when it is not one.
[[nodiscard]] int wholeNumberOrZero(const QString& text);

} // namespace cad
