#!/usr/bin/python3
"""Runs a Windows test program under Wine beside local test servers on
127.0.0.1 and returns its exit status; listing the tests needs no servers.

A program under Wine cannot start the Python servers itself, so they are
started here and named to it in the environment (paths as Wine's Z: paths):
  TYPROSYNC_TEST_FTP_<KIND>PORT / _<KIND>ROOT: FTP servers, KIND "" (full
    rights), SLOW_ (8 bytes a second), MOVING_ (16 KiB a second) and
    READONLY_ (uploads and deletions refused); TYPROSYNC_TEST_FTP_REFUSING_PORT
    and TYPRO_HTTPS_REFUSING_URL name a port that refuses connections;
  TYPRO_HTTPS_<NAME>_URL: HTTPS servers, below; UNUSED is for one test only
    (WinHTTP pools connections for the whole process and does not check a
    pooled one again);
  TYPRO_HTTPS_CA: the PEM file that trusts all but STRANGER;
  TYPRO_HTTPS_DIR: the folder of the reply file "reply" and the requests
    recorded by TRUSTED (requests/) and STATUS500 (requests-500/).

Usage: with_servers.py PROGRAM [ARGUMENT...]
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import servers as test_servers  # noqa: E402

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "cmake",
                        "wine-run.sh")


def start_ftp(servers, folder, environment):
    for kind, limit, perm in (("", 0, "elradfmwMT"), ("SLOW_", 8, "elradfmwMT"),
                              ("MOVING_", 16384, "elradfmwMT"), ("READONLY_", 0, "elr")):
        root = os.path.join(folder, (kind or "plain").lower().rstrip("_")) + "/"
        os.mkdir(root)
        environment["TYPROSYNC_TEST_FTP_%sPORT" % kind] = servers.start(
            "ftp_server.py", "--root", root, "--write-limit", str(limit), "--perm", perm)
        environment["TYPROSYNC_TEST_FTP_%sROOT" % kind] = root


def start_https(servers, folder, environment):
    for name in ("requests", "requests-500"):
        os.mkdir(os.path.join(folder, name))
    trusted = test_servers.make_certificate(folder, "trusted")
    stranger = test_servers.make_certificate(folder, "stranger")
    reply = ("--reply-file", os.path.join(folder, "reply"))
    for name, certificate, options in (
            ("TRUSTED", trusted, ("--record-dir", os.path.join(folder, "requests"))),
            ("STATUS500", trusted,
             ("--status", "500", "--record-dir", os.path.join(folder, "requests-500"))),
            ("STRANGER", stranger, ()), ("UNUSED", trusted, ()),
            ("SILENT", trusted, ("--silent", "1")), ("SLOW", trusted, ("--handshake-delay", "3")),
            ("TRICKLE", trusted, ("--trickle", "1"))):
        environment["TYPRO_HTTPS_%s_URL" % name] = servers.https(certificate, *reply, *options)
    environment["TYPRO_HTTPS_CA"] = "Z:" + trusted[0]
    environment["TYPRO_HTTPS_DIR"] = "Z:" + folder + "/"


def main():
    if "--gtest_list_tests" in sys.argv:
        return subprocess.call([WINE_RUN] + sys.argv[1:])
    folder = tempfile.mkdtemp(prefix="typro-servers-")
    servers = test_servers.Servers()
    refusing = socket.socket()  # bound, never listening: connections are refused
    try:
        environment = dict(os.environ)
        start_ftp(servers, folder, environment)
        start_https(servers, folder, environment)
        refusing.bind(("127.0.0.1", 0))
        environment["TYPROSYNC_TEST_FTP_REFUSING_PORT"] = str(refusing.getsockname()[1])
        environment["TYPRO_HTTPS_REFUSING_URL"] = "https://127.0.0.1:%d/" % refusing.getsockname()[1]
        return subprocess.call([WINE_RUN] + sys.argv[1:], env=environment)
    finally:
        servers.stop()
        refusing.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
