#pragma once
// The route page: address texts, the page's lines and the file beside the executable.
#include <QString>
#include <QStringList>

namespace cad::mapa {

/// The five address parts of an origin or a destination, as the screen shows them.
struct Address
{
    QString street, number, district, city, state;
};

/// Street, number, district, city and state, the non-empty ones joined by commas.
[[nodiscard]] QString composeAddress(const Address& a);

/// Travel modes in the order of the screen's list.
struct TravelMode
{
    QString caption; ///< entry of the list
    QString name;    ///< the API's travel mode written into the page
};
[[nodiscard]] const QList<TravelMode>& travelModes();

/// Where the page's three outside resources come from.
struct MapHosts
{
    QString api;        ///< the JavaScript API script
    QString stylesheet; ///< the provider's example stylesheet
    QString publicMaps; ///< the public maps page ("Mostrar Mapa")

    /// The provider's own hosts for its default API host; any other host (a stand-in) serves all three.
    [[nodiscard]] static MapHosts fromApiHost(const QString& apiHost);
};

/// TEXT as the inside of a single-quoted script string: quote and backslash escaped, and the few
/// characters that would end the string or the script element written as escapes of themselves.
[[nodiscard]] QString scriptString(const QString& text);

/// The page's lines for a route from START to END in MODENAME (DRIVING, WALKING, ...).
[[nodiscard]] QStringList pageLines(const QString& start, const QString& end, const QString& modeName,
                                    const MapHosts& hosts);

/// Replaces the file at PATH with LINES, each ended by CR LF, in ISO-8859-1.
/// Throws std::runtime_error with the system's message when it cannot be deleted or written.
void writePage(const QString& path, const QStringList& lines);

/// The public maps page's address for a place text (spaces already "+").
[[nodiscard]] QString publicMapsAddress(const MapHosts& hosts, const QString& place);

} // namespace cad::mapa
