"""Local HTTPS test server. Prints its port (127.0.0.1) as its first line.

Every request is recorded (--record-dir) as request-N.txt: "#conn C", the
request line and the headers as received, an empty line, then the body.
--silent 1 accepts connections but never answers; --handshake-delay waits that
many seconds before the TLS handshake of each connection. --hold-file holds
every reply, after its request is recorded, until that file exists.
--trickle 1 answers with a long body sent one byte at a time, without end.
"""
import argparse
import http.server
import itertools
import os
import socketserver
import ssl
import threading
import time

parser = argparse.ArgumentParser()
for name in ("--cert", "--key", "--reply-file", "--record-dir"):
    parser.add_argument(name)
parser.add_argument("--status", type=int, default=200)
parser.add_argument("--silent", type=int, default=0)
parser.add_argument("--handshake-delay", type=float, default=0.0)
parser.add_argument("--hold-file", default="")
parser.add_argument("--trickle", type=int, default=0)
args = parser.parse_args()
requests, connections, lock = itertools.count(1), itertools.count(1), threading.Lock()


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
        else:
            super().handle_one_request()

    def answer(self):
        body = self.rfile.read(int(self.headers.get("Content-Length") or "0"))
        if args.record_dir:
            with lock:
                path = os.path.join(args.record_dir, "request-%d.txt" % next(requests))
            head = "#conn %d\r\n%s\r\n" % (self.conn_id, self.requestline)
            head += "".join("%s: %s\r\n" % item for item in self.headers.raw_items())
            with open(path + ".part", "wb") as out:
                out.write(head.encode("latin-1") + b"\r\n" + body)
            os.replace(path + ".part", path)
        while args.hold_file and not os.path.exists(args.hold_file):
            time.sleep(0.02)
        if args.trickle:
            self.trickle()
            return
        reply = b""
        if args.reply_file and os.path.exists(args.reply_file):
            with open(args.reply_file, "rb") as source:
                reply = source.read()
        self.send_response(args.status)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def trickle(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", "1000000")
        self.end_headers()
        try:
            while True:
                self.wfile.write(b"<")
                self.wfile.flush()
                time.sleep(0.2)
        except OSError:
            pass  # the client gave up

    do_POST = do_GET = answer


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # refused handshakes and dropped clients are part of the tests


server = Server(("127.0.0.1", 0), Handler)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(args.cert, args.key)
server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
print(server.server_address[1], flush=True)
server.serve_forever()
