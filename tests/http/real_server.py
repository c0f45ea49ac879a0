"""Small web server on 127.0.0.1 for the HTTP client's tests, built on Python's http.server.

Prints "HTTP <port>" and "HTTPS <port>" once both listen, then serves until stdin closes.
  GET  /pagina     a fixed page, UTF-8, Content-Length
  POST /eco        answers with the request's Content-Type and body
  GET  /desvio     302 to /pagina, setting a cookie
"""
import http.server
import ssl
import sys
import threading

PAGE = "<html><head><title>t</title></head><body>Olá, Cadastro</body></html>\n".encode()


class Handler(http.server.BaseHTTPRequestHandler):
    def _answer(self, status, body, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        if self.path == "/pagina":
            cookie = self.headers.get("Cookie", "")
            self._answer(200, PAGE, [("Content-Type", "text/html; charset=utf-8"), ("X-Cookie", cookie)])
        elif self.path == "/desvio":
            self._answer(302, b"", [("Location", "/pagina"), ("Set-Cookie", "sessao=42; path=/")])
        else:
            self._answer(404, b"nao achei\n", [("Content-Type", "text/plain")])

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        reply = self.headers.get("Content-Type", "").encode() + b"\n" + body
        self._answer(200, reply, [("Content-Type", "text/plain")])

    def log_message(self, *args):
        pass


def serve(server):
    threading.Thread(target=server.serve_forever, daemon=True).start()


def main():
    cert, key = sys.argv[1], sys.argv[2]
    plain = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    secure = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    secure.socket = context.wrap_socket(secure.socket, server_side=True)
    serve(plain)
    serve(secure)
    print("HTTP", plain.server_address[1], flush=True)
    print("HTTPS", secure.server_address[1], flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()
