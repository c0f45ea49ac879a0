#include "maps/MapaPage.h"

#include "http/ServiceSettings.h"

#include <QUrl>

#include <QFile>
#include <stdexcept>

namespace cad::mapa {

namespace {

// Sent when no key is configured: the stand-in accepts any key, the real service none.
const QString kNoApiKey = QStringLiteral("SEM-CHAVE");
const QString kDefaultApiHost = QStringLiteral("maps.googleapis.com");

// The page around the route; @…@ marks are replaced when it is written.
const char* const kTemplate = R"PAGE(<!DOCTYPE html>
<html>
<head>
<meta http-equiv="X-UA-Compatible" content="IE=edge" />
<meta name="viewport" content="initial-scale=1.0" />
<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-1" />
<title>Google Maps JavaScript API v3 Example: Directions Complex</title>
<style type="text/css">
#tbMapa { width: 100%; border: 0; }
#tbMapa td { vertical-align: top; }
#map_canvas { margin-top: 10px; margin-right: 0; position: relative; overflow: hidden; min-height: 600px; max-width: 100%; }
#painelDirecao { width: 100%; height: 600px; overflow-y: scroll; overflow-x: hidden; }
</style>
<link href="https://@STYLEHOST@/apis/maps/documentation/javascript/examples/default.css" rel="stylesheet" type="text/css" />
<script type="text/javascript" src="https://@APIHOST@/maps/api/js?key=@KEY@"></script>
<script type="text/javascript">
function reportFailure(status) { document.getElementById('inputStatus').value = status; }
window.gm_authFailure = function () { reportFailure('REQUEST_DENIED'); };
var directionsService = new google.maps.DirectionsService();
var directionsDisplay;
var map;
function initialize() {
	directionsDisplay = new google.maps.DirectionsRenderer();
	var geocoder = new google.maps.Geocoder();
	var options = { zoom: 15, mapTypeId: google.maps.MapTypeId.ROADMAP, center: new google.maps.LatLng(-23.5505, -46.6333) };
	map = new google.maps.Map(document.getElementById('map_canvas'), options);
	directionsDisplay.setMap(map);
	directionsDisplay.setPanel(document.getElementById('painelDirecao'));
	geocoder.geocode({ 'address': 'São Paulo, SP, Brasil' }, function (results, status) {
		if (status == google.maps.GeocoderStatus.OK) {
			map.setCenter(results[0].geometry.location);
		} else {
			alert('Não foi possivel localizar o local, erro: ' + status);
		}
	});
}
function calcRoute() {
	if (typeof google === 'undefined') { reportFailure('UNAVAILABLE'); return; }
	initialize();
	var selectedMode = '@MODE@';
@START@
@END@
	var request = { origin: start, destination: end, travelMode: google.maps.TravelMode[selectedMode], waypoints: [] };
	directionsService.route(request, function (response, status) {
		var total = 0;
		if (status == google.maps.DirectionsStatus.OK) {
			directionsDisplay.setDirections(response);
			var legs = response.routes[0].legs;
			for (var i = 0; i < legs.length; i++) {
				total += legs[i].distance.value;
			}
			total = total / 1000;
			document.getElementById('inputTotal').value = total;
		} else {
			reportFailure(status);
		}
		document.getElementById('divTotal').innerHTML = '<br /><b>Distância Total: ' + total + '</b>';
	});
}
</script>
</head>
<body onload="calcRoute()">
<input type='hidden' id='inputTotal' value='' />
<input type='hidden' id='inputStatus' value='' />
<div id="printPanel">
<table id="tbMapa">
<tr>
<td style="width: 70%; vertical-align: top"><div id="map_canvas"></div></td>
<td style="width: 20%; vertical-align: top"><div id="painelDirecao"></div><div id="divTotal"></div></td>
</tr>
</table>
</div>
</body>
</html>)PAGE";

void appendPart(QString& text, const QString& part)
{
    if (part.isEmpty()) return;
    if (!text.isEmpty()) text += QLatin1Char(',');
    text += part;
}

} // namespace

QString composeAddress(const Address& a)
{
    QString text;
    for (const QString* part : {&a.street, &a.number, &a.district, &a.city, &a.state})
        appendPart(text, *part);
    return text;
}

const QList<TravelMode>& travelModes()
{
    static const QList<TravelMode> modes{
        {QStringLiteral("De Carro"), QStringLiteral("DRIVING")},
        {QStringLiteral("A Pé"), QStringLiteral("WALKING")},
        {QStringLiteral("De Bicicleta"), QStringLiteral("BICYCLING")},
        {QStringLiteral("Trânsito"), QStringLiteral("TRANSIT")},
    };
    return modes;
}

MapHosts MapHosts::fromApiHost(const QString& apiHost)
{
    if (apiHost.compare(kDefaultApiHost, Qt::CaseInsensitive) == 0)
        return {apiHost, QStringLiteral("code.google.com"), QStringLiteral("maps.google.com")};
    return {apiHost, apiHost, apiHost};
}

QString scriptString(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\'':
        case '\\':
            out += QLatin1Char('\\');
            out += c;
            break;
        // The string's value stays the same; only its spelling keeps the script intact
        // (a line break would end the string, "</script>" the script element).
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '<':
            out += QLatin1String("\\x3C");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QStringList pageLines(const QString& start, const QString& end, const QString& modeName,
                      const MapHosts& hosts)
{
    QString page = QString::fromUtf8(kTemplate);
    page.replace(QLatin1String("@STYLEHOST@"), hosts.stylesheet)
        .replace(QLatin1String("@APIHOST@"), hosts.api)
        .replace(QLatin1String("@KEY@"),
                 serviceSettings().mapsKey.isEmpty()
                     ? kNoApiKey
                     : QString::fromLatin1(QUrl::toPercentEncoding(serviceSettings().mapsKey)))
        .replace(QLatin1String("@MODE@"), modeName);
    // The addresses go in whole lines, so their text is never searched for marks.
    QStringList lines = page.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line == QLatin1String("@START@"))
            line = QStringLiteral("\tvar start = '%1';\t").arg(scriptString(start));
        else if (line == QLatin1String("@END@"))
            line = QStringLiteral("\tvar end   = '%1';\t").arg(scriptString(end));
    }
    return lines;
}

void writePage(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (file.exists() && !file.remove())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n"; // characters outside ISO-8859-1 become "?"
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
}

QString publicMapsAddress(const MapHosts& hosts, const QString& place)
{
    return QStringLiteral("https://%1/maps?q=%2").arg(hosts.publicMaps, place);
}

} // namespace cad::mapa
