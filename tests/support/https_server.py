"""Local HTTPS server for the tests: records every request and answers it.

Prints the port it listens on (127.0.0.1, chosen by the system) as its first
line of output, then serves until it is terminated.

  --cert/--key    PEM files of the server certificate
  --reply-file    file whose bytes are the reply body (read at every request)
  --status        HTTP status of every reply (default 200)
  --record-dir    each request is written there as request-N.txt:
                  "#conn C" line, request line, header lines as received, an
                  empty line, then the body bytes
  --silent        accept connections but never answer
  --handshake-delay  seconds to wait before the TLS handshake of a connection
"""
import argparse
import http.server
import itertools
import os
import socketserver
import ssl
import sys
import threading
import time

args = None
counter = itertools.count(1)
connections = itertools.count(1)
lock = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body leave in separate writes; without this each reply
    # waits for the client's delayed acknowledgement.
    disable_nagle_algorithm = True

    def setup(self):
        time.sleep(args.handshake_delay)
        self.request.do_handshake()
        super().setup()
        with lock:
            self.conn_id = next(connections)

    def log_message(self, *unused):
        pass

    def handle_one_request(self):
        if args.silent:
            time.sleep(3600)
            return
        super().handle_one_request()

    def answer(self):
        length = int(self.headers.get("Content-Length", "0") or "0")
        body = self.rfile.read(length) if length else b""
        if args.record_dir:
            with lock:
                number = next(counter)
            head = "#conn %d\r\n%s\r\n" % (self.conn_id, self.requestline)
            for name, value in self.headers.raw_items():
                head += "%s: %s\r\n" % (name, value)
            path = os.path.join(args.record_dir, "request-%d.txt" % number)
            with open(path + ".part", "wb") as out:
                out.write(head.encode("latin-1") + b"\r\n" + body)
            os.replace(path + ".part", path)
        reply = b""
        if args.reply_file and os.path.exists(args.reply_file):
            with open(args.reply_file, "rb") as source:
                reply = source.read()
        self.send_response(args.status)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    do_POST = answer
    do_GET = answer


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # refused handshakes and dropped clients are part of the tests


def watch_parent():
    """Ends the server when the test that started it is gone."""
    parent = os.getppid()

    def watch():
        while os.getppid() == parent:
            time.sleep(0.5)
        os._exit(0)

    threading.Thread(target=watch, daemon=True).start()


def main():
    global args
    parser = argparse.ArgumentParser()
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--reply-file")
    parser.add_argument("--status", type=int, default=200)
    parser.add_argument("--record-dir")
    parser.add_argument("--silent", action="store_true")
    parser.add_argument("--handshake-delay", type=float, default=0.0)
    args = parser.parse_args()
    server = Server(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)
    server.socket = context.wrap_socket(server.socket, server_side=True,
                                        do_handshake_on_connect=False)
    print(server.server_address[1], flush=True)
    watch_parent()
    server.serve_forever()


if __name__ == "__main__":
    main()
