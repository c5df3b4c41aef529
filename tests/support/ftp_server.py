"""Local FTP test server (pyftpdlib). Prints its port (127.0.0.1) as its first line.

--perm "elr" refuses uploads and deletions. --log receives "CONNECT" for every
control connection, then "COMMAND argument -> code" per command.
--write-limit sends file data at no more than that many bytes per second.
"""
import argparse
import logging

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--user", default="agro")
parser.add_argument("--password", default="geheim")
parser.add_argument("--perm", default="elradfmwMT")
parser.add_argument("--log")
parser.add_argument("--write-limit", type=int, default=0)
args = parser.parse_args()


class LoggingHandler(FTPHandler):
    def append(self, line):
        if args.log:
            with open(args.log, "a") as out:
                out.write(line + "\n")

    def on_connect(self):
        self.append("CONNECT")

    def log_cmd(self, cmd, arg, respcode, respstr):
        self.append("%s %s -> %d" % (cmd, "***" if cmd == "PASS" else arg or "", respcode))


logging.basicConfig(level=logging.CRITICAL)
if args.write_limit:
    ThrottledDTPHandler.write_limit = args.write_limit
    LoggingHandler.dtp_handler = ThrottledDTPHandler
LoggingHandler.authorizer = DummyAuthorizer()
LoggingHandler.authorizer.add_user(args.user, args.password, args.root, perm=args.perm)
server = FTPServer(("127.0.0.1", 0), LoggingHandler)
print(server.address[1], flush=True)
server.serve_forever()
