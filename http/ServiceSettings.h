#pragma once
// Addresses and trust settings shared by the web look-up components.
#include <QString>

namespace cad {

/// Process-wide settings of the web look-ups, filled once by the application at start-up.
struct ServiceSettings
{
    /// Extra PEM file of trusted certificate authorities (private or test servers), added to the
    /// system's trust store; empty for none. The environment variable CAD_CA_FILE fills it.
    QString caFile;
    /// Host names (optionally "host:port") of the outside services. The ViaCEP one may begin with
    /// a scheme ("http://127.0.0.1:8080"); without one it is reached over HTTPS.
    QString cnpjHost = QStringLiteral("www.receita.fazenda.gov.br");
    QString cpfHost = QStringLiteral("servicos.receita.fazenda.gov.br");
    QString viaCepHost = QStringLiteral("viacep.com.br");
    QString mapsHost = QStringLiteral("maps.googleapis.com");
    /// The business's Maps JavaScript API key, a deployment value (Admin.ini [SERVICOS] MAPASCHAVE).
    QString mapsKey;

    /// Overrides from the environment (CAD_CA_FILE), applied when the settings are first read.
    void loadFromEnvironment();
};

/// The one instance; the application sets it before the first look-up, components only read it.
[[nodiscard]] ServiceSettings& serviceSettings();

} // namespace cad
