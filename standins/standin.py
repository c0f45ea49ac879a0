"""Common ground of the stand-in servers: one HTTP/1.0 server on loopback, a request log that
tests read back from /__requests, captcha sessions tied to a cookie, and the ready line."""
import argparse
import json
import secrets
import ssl
import sys
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

import captcha_png

SESSION_COOKIE = "ASPSESSIONIDCADSTAND"


class State:
    def __init__(self, fixed_captcha):
        self.lock = threading.Lock()
        self.fixed_captcha = fixed_captcha
        self.sessions = {}  # session id -> dict (captcha text and per-service state)
        self.requests = []

    def new_session(self):
        sid = secrets.token_hex(8).upper()
        text = self.fixed_captcha or captcha_png.random_text()
        with self.lock:
            self.sessions[sid] = {"captcha": text}
        return sid, text


class Handler(BaseHTTPRequestHandler):
    """Base handler: subclasses implement route(method) and use the helpers below."""

    protocol_version = "HTTP/1.0"
    server_version = "CadStandIn/1.0"
    state: State = None
    scheme = "http"  # "https" when serve() wraps the socket in TLS

    def do_GET(self):
        self._handle("GET")

    def do_POST(self):
        self._handle("POST")

    def _handle(self, method):
        length = int(self.headers.get("Content-Length") or 0)
        self.body = self.rfile.read(length) if length else b""
        if self.path == "/__requests":
            with self.state.lock:
                log, self.state.requests = self.state.requests, []
            return self.send(200, json.dumps(log).encode("ascii"), "application/json")
        self.entry = {
            "method": method,
            "path": self.path,
            "headers": [f"{k}: {v}" for k, v in self.headers.items()],
            "body": self.body.decode("latin-1"),
        }
        with self.state.lock:
            self.state.requests.append(self.entry)
        self.route(method)

    def log_message(self, fmt, *args):
        print("%s - %s" % (self.address_string(), fmt % args), file=sys.stderr, flush=True)

    # Helpers for the services.
    def cookies(self):
        """Cookie header as a list of (name, value), duplicates kept."""
        pairs = []
        for part in (self.headers.get("Cookie") or "").split(";"):
            if "=" in part:
                name, value = part.split("=", 1)
                pairs.append((name.strip(), value.strip()))
        return pairs

    def session(self):
        for name, value in self.cookies():
            if name.upper() == SESSION_COOKIE:
                return value, self.state.sessions.get(value)
        return None, None

    def start_captcha(self):
        """A new session and captcha; returns (set-cookie header, text, png bytes)."""
        sid, text = self.state.new_session()
        self.entry["captcha"] = text
        print(f"captcha for session {sid}: {text}", file=sys.stderr, flush=True)
        return f"{SESSION_COOKIE}={sid}; path=/", text, captcha_png.render(text)

    def form_fields(self):
        """The body's fields exactly as sent (the look-ups do not percent-encode)."""
        fields = {}
        for part in self.body.decode("latin-1").split("&"):
            name, _, value = part.partition("=")
            fields.setdefault(name, value)
        return fields

    def send(self, status, body, content_type, headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def not_found(self):
        self.send(404, b"<html><body>Not found</body></html>", "text/html")


def serve(handler_class, description):
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--captcha", default="", help="accept this captcha text always (demo)")
    parser.add_argument("--tls-cert", default="", help="serve HTTPS with this PEM certificate...")
    parser.add_argument("--tls-key", default="", help="...and this key")
    args = parser.parse_args()

    handler_class.state = State(args.captcha.upper())
    server = ThreadingHTTPServer(("127.0.0.1", args.port), handler_class)
    server.daemon_threads = True
    scheme = "http"
    if args.tls_cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls_cert, args.tls_key)
        # The handshake runs in the request's thread, so a client that never starts it blocks no one.
        server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
        scheme = "https"
    handler_class.scheme = scheme
    # The only line on stdout tells the starter where we listen; the log goes to stderr.
    print(f"READY {server.server_address[1]} {scheme}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    sys.exit(0)
