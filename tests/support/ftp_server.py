"""Local FTP server for the tests (pyftpdlib).

Prints the port it listens on (127.0.0.1, chosen by the system) as its first
line of output, then serves until it is terminated.

  --root      folder served as "/"
  --user      login name (default "agro")
  --password  password (default "geheim")
  --perm      pyftpdlib permissions of the user (default "elradfmwMT";
              "elr" refuses uploads and deletions)
"""
import argparse
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="agro")
    parser.add_argument("--password", default="geheim")
    parser.add_argument("--perm", default="elradfmwMT")
    args = parser.parse_args()
    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm=args.perm)
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.permit_foreign_addresses = False
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
