#!/usr/bin/env python3
"""Stand-in for the map provider: the part of the Maps JavaScript API v3 that the route page uses.
The route page loads it over HTTPS: run it with --tls-cert and --tls-key (standin.py).

  GET /maps/api/js?key=K              the script: google.maps with Map, LatLng, Geocoder,
                                      DirectionsService and DirectionsRenderer; the services answer
                                      through the two JSONP calls below, so a page from a local file
                                      can use them
  GET /maps/api/directions/jsonp      origin, destination, mode, callback: a route in legs of metres
  GET /maps/api/geocode/jsonp         address, callback: a place
  GET /apis/maps/documentation/javascript/examples/default.css   the example stylesheet
  GET /maps?q=TEXT                    the public maps page for a place

Routes (destination's street, upper case, accents ignored; distances in metres per mode):
  RUA AUGUSTA       driving 12345, walking 9870, bicycling 11200, transit 14050
  RUA OLHO D'AGUA   driving 25400, walking 21870, bicycling 23015, transit: no route (ZERO_RESULTS)
  AVENIDA BRASIL    driving 7000 in two legs of 5000 and 2000, walking 6480, bicycling 6900, transit 8100
  RUA INEXISTENTE   NOT_FOUND, as is an empty origin or destination
  anything else     a distance of its own, the same for the same texts (for the demo)

Keys: any key is accepted, unless CAD_STANDIN_MAPS_KEYS lists the accepted ones (comma-separated); a
page loaded with another key is refused as the real service refuses it: gm_authFailure() is called
and every directions request answers REQUEST_DENIED.
"""
import json
import os
import unicodedata
import zlib
from urllib.parse import parse_qs, urlsplit

from standin import Handler, serve

MODES = ("DRIVING", "WALKING", "BICYCLING", "TRANSIT")
ROUTES = {
    "RUA AUGUSTA": {"DRIVING": [12345], "WALKING": [9870], "BICYCLING": [11200], "TRANSIT": [14050]},
    "RUA OLHO D'AGUA": {"DRIVING": [25400], "WALKING": [21870], "BICYCLING": [23015], "TRANSIT": None},
    "AVENIDA BRASIL": {"DRIVING": [5000, 2000], "WALKING": [6480], "BICYCLING": [6900], "TRANSIT": [8100]},
}
NOT_FOUND = ("RUA INEXISTENTE",)
PLACES = {"SAO PAULO": (-23.5505, -46.6333), "RIO DE JANEIRO": (-22.9068, -43.1729)}

SCRIPT = r"""(function () {
var base = '%(base)s', calls = 0, refused = %(refused)s;
function jsonp(path, params, done) {
    var name = '_cadMaps' + (++calls), query = [], tag = document.createElement('script');
    for (var k in params) query.push(encodeURIComponent(k) + '=' + encodeURIComponent(params[k]));
    query.push('callback=' + name);
    window[name] = function (answer) { delete window[name]; tag.parentNode.removeChild(tag); done(answer); };
    tag.src = base + path + '?' + query.join('&');
    document.getElementsByTagName('head')[0].appendChild(tag);
}
function LatLng(lat, lng) { this._lat = lat; this._lng = lng; }
LatLng.prototype.lat = function () { return this._lat; };
LatLng.prototype.lng = function () { return this._lng; };
function Map(div, options) { this.div = div; this.zoom = options.zoom; this.setCenter(options.center); }
Map.prototype.setCenter = function (c) { this.center = c; this.div.setAttribute('data-center', c.lat() + ',' + c.lng()); };
function Geocoder() {}
Geocoder.prototype.geocode = function (request, done) {
    jsonp('/maps/api/geocode/jsonp', { address: request.address }, function (a) {
        var results = [];
        for (var i = 0; i < a.results.length; i++)
            results.push({ formatted_address: a.results[i].address,
                           geometry: { location: new LatLng(a.results[i].lat, a.results[i].lng) } });
        done(results, a.status);
    });
};
function DirectionsService() {}
DirectionsService.prototype.route = function (request, done) {
    if (refused) { setTimeout(function () { done({ routes: [] }, 'REQUEST_DENIED'); }, 0); return; }
    jsonp('/maps/api/directions/jsonp', { origin: request.origin, destination: request.destination,
                                          mode: request.travelMode }, function (a) { done(a, a.status); });
};
function DirectionsRenderer() {}
DirectionsRenderer.prototype.setMap = function (map) { this.map = map; };
DirectionsRenderer.prototype.setPanel = function (panel) { this.panel = panel; };
DirectionsRenderer.prototype.setDirections = function (result) {
    var legs = result.routes[0].legs, html = '<ol>';
    for (var i = 0; i < legs.length; i++)
        html += '<li>' + legs[i].start_address + ' &rarr; ' + legs[i].end_address + ': ' + legs[i].distance.text + '</li>';
    if (this.panel) this.panel.innerHTML = html + '</ol>';
    if (this.map) this.map.div.textContent = 'Rota: ' + result.request.origin + ' \u2192 ' + result.request.destination;
};
window.google = { maps: {
    LatLng: LatLng, Map: Map, Geocoder: Geocoder, DirectionsService: DirectionsService,
    DirectionsRenderer: DirectionsRenderer,
    MapTypeId: { ROADMAP: 'roadmap', SATELLITE: 'satellite', HYBRID: 'hybrid', TERRAIN: 'terrain' },
    TravelMode: { DRIVING: 'DRIVING', WALKING: 'WALKING', BICYCLING: 'BICYCLING', TRANSIT: 'TRANSIT' },
    DirectionsStatus: { OK: 'OK', NOT_FOUND: 'NOT_FOUND', ZERO_RESULTS: 'ZERO_RESULTS', INVALID_REQUEST: 'INVALID_REQUEST' },
    GeocoderStatus: { OK: 'OK', ZERO_RESULTS: 'ZERO_RESULTS' }
} };
if (refused && window.gm_authFailure) setTimeout(window.gm_authFailure, 0);
})();
"""

STYLESHEET = b"html, body { height: 100%; margin: 0; padding: 0; font-family: sans-serif; }\n"


def plain(text):
    """Upper case without accents, '+' read as a space."""
    text = unicodedata.normalize("NFKD", text.replace("+", " "))
    return "".join(c for c in text if not unicodedata.combining(c)).upper().strip()


def legs_for(origin, destination, mode):
    """Metres of each leg, or a status when there is no route."""
    if not plain(origin).strip(", ") or not plain(destination).strip(", ") or mode not in MODES:
        return "NOT_FOUND" if mode in MODES else "INVALID_REQUEST"
    street = plain(destination).split(",")[0]
    if street in NOT_FOUND:
        return "NOT_FOUND"
    if street in ROUTES:
        return ROUTES[street][mode] or "ZERO_RESULTS"
    seed = zlib.crc32(f"{plain(origin)}|{plain(destination)}".encode("utf-8"))
    driving = 1000 + seed % 400000
    return [driving * {"DRIVING": 100, "WALKING": 85, "BICYCLING": 92, "TRANSIT": 110}[mode] // 100]


def directions(origin, destination, mode):
    legs = legs_for(origin, destination, mode)
    request = {"origin": origin, "destination": destination, "travelMode": mode}
    if isinstance(legs, str):
        return {"status": legs, "routes": [], "request": request}
    stops = [origin] + [f"Parada {i}" for i in range(1, len(legs))] + [destination]
    return {"status": "OK", "request": request, "routes": [{"legs": [
        {"distance": {"value": m, "text": f"{m / 1000:.1f} km".replace(".", ",")},
         "start_address": stops[i], "end_address": stops[i + 1]} for i, m in enumerate(legs)]}]}


def geocode(address):
    for name, (lat, lng) in PLACES.items():
        if plain(address).startswith(name):
            return {"status": "OK", "results": [{"address": address, "lat": lat, "lng": lng}]}
    return {"status": "ZERO_RESULTS", "results": []}


class MapsHandler(Handler):
    def route(self, method):
        url = urlsplit(self.path)
        query = {k: v[0] for k, v in parse_qs(url.query, keep_blank_values=True).items()}
        if method != "GET":
            return self.not_found()
        if url.path == "/maps/api/js":
            base = self.scheme + "://" + (self.headers.get("Host") or "127.0.0.1:%d" % self.server.server_address[1])
            accepted = [k for k in os.environ.get("CAD_STANDIN_MAPS_KEYS", "").split(",") if k]
            refused = "true" if accepted and query.get("key", "") not in accepted else "false"
            script = SCRIPT % {"base": base, "refused": refused}
            return self.send(200, script.encode("utf-8"), "text/javascript; charset=utf-8")
        if url.path in ("/maps/api/directions/jsonp", "/maps/api/geocode/jsonp"):
            callback = query.get("callback", "")
            if not callback.replace("_", "").isalnum():
                return self.send(400, b"bad callback", "text/plain")
            if url.path.endswith("/directions/jsonp"):
                answer = directions(query.get("origin", ""), query.get("destination", ""), query.get("mode", ""))
            else:
                answer = geocode(query.get("address", ""))
            body = f"{callback}({json.dumps(answer)});".encode("utf-8")
            return self.send(200, body, "text/javascript; charset=utf-8")
        if url.path == "/apis/maps/documentation/javascript/examples/default.css":
            return self.send(200, STYLESHEET, "text/css")
        if url.path == "/maps":
            place = query.get("q", "").replace("&", "&amp;").replace("<", "&lt;")
            page = f"<!DOCTYPE html><html><head><meta charset='utf-8'><title>Mapa</title></head>" \
                   f"<body><h1 id='lugar'>{place}</h1></body></html>"
            return self.send(200, page.encode("utf-8"), "text/html; charset=utf-8")
        self.not_found()


if __name__ == "__main__":
    serve(MapsHandler, "Maps JavaScript API stand-in")
