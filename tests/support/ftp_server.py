"""Local FTP server for the tests (pyftpdlib).

Prints the port it listens on (127.0.0.1, chosen by the system) as its first
line of output, then serves until it is terminated.

  --root      folder served as "/"
  --user      login name (default "agro")
  --password  password (default "geheim")
  --perm      pyftpdlib permissions of the user (default "elradfmwMT";
              "elr" refuses uploads and deletions)
  --log       file that receives one line per event: "CONNECT" for every
              control connection, then "COMMAND argument -> code" per command
              (the password is not written)
"""
import argparse
import os
import threading
import time
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class LoggingHandler(FTPHandler):
    log_path = None

    def _append(self, line):
        if self.log_path:
            with open(self.log_path, "a") as out:
                out.write(line + "\n")

    def on_connect(self):
        self._append("CONNECT")

    def log_cmd(self, cmd, arg, respcode, respstr):
        if cmd == "PASS":
            arg = "***"
        self._append("%s %s -> %d" % (cmd, arg or "", respcode))


def watch_parent():
    """Ends the server when the test that started it is gone."""
    parent = os.getppid()

    def watch():
        while os.getppid() == parent:
            time.sleep(0.5)
        os._exit(0)

    threading.Thread(target=watch, daemon=True).start()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="agro")
    parser.add_argument("--password", default="geheim")
    parser.add_argument("--perm", default="elradfmwMT")
    parser.add_argument("--log")
    args = parser.parse_args()
    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm=args.perm)
    handler = LoggingHandler
    handler.log_path = args.log
    handler.authorizer = authorizer
    handler.permit_foreign_addresses = False
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    watch_parent()
    server.serve_forever()


if __name__ == "__main__":
    main()
