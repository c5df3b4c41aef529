"""Runs a command (a Windows test program under Wine) beside local HTTPS test
servers on 127.0.0.1, and returns its exit status.

A Windows program under Wine cannot start the Python servers itself, so they
are started here and named to it in the environment: TYPRO_HTTPS_<NAME>_URL
for every server below (UNUSED is for one
test only: WinHTTP pools connections for the whole process, and a pooled
connection is not checked again), TYPRO_HTTPS_REFUSING_URL for a port that refuses
connections, TYPRO_HTTPS_CA (the PEM file that trusts the servers' common
certificate), TYPRO_HTTPS_DIR (the folder of the reply file "reply" and the
recorded requests, requests/ and requests-500/). Paths are given as Wine's
Z: paths. The certificates name 127.0.0.1 also as a DNS name: Wine's name
check does not read IP address entries.

Usage: with_https_servers.py COMMAND [ARGUMENT...]
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile

SUPPORT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support")
PYTHON = "/usr/bin/python3"


def wine_path(path):
    return "Z:" + path


def make_certificate(folder, name):
    cert = os.path.join(folder, name + "-cert.pem")
    key = os.path.join(folder, name + "-key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=localhost", "-addext",
                    "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1,DNS:localhost", "-keyout", key, "-out", cert],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


def start_server(folder, certificate, *options):
    cert, key = certificate
    process = subprocess.Popen(
        [PYTHON, os.path.join(SUPPORT, "https_server.py"), "--cert", cert, "--key", key,
         "--reply-file", os.path.join(folder, "reply")] + list(options),
        stdout=subprocess.PIPE)
    port = process.stdout.readline().strip()
    if not port:
        raise RuntimeError("an HTTPS test server did not start")
    return process, "https://127.0.0.1:%s/supplier/edi_levering/" % port.decode()


def main():
    folder = tempfile.mkdtemp(prefix="typro-https-")
    servers = []
    refusing = socket.socket()  # bound, never listening: connections are refused
    try:
        for name in ("requests", "requests-500"):
            os.mkdir(os.path.join(folder, name))
        trusted = make_certificate(folder, "trusted")
        stranger = make_certificate(folder, "stranger")
        settings = {
            "TRUSTED": (trusted, "--record-dir", os.path.join(folder, "requests")),
            "STATUS500": (trusted, "--status", "500", "--record-dir",
                          os.path.join(folder, "requests-500")),
            "STRANGER": (stranger,),
            "UNUSED": (trusted,),
            "SILENT": (trusted, "--silent", "1"),
            "SLOW": (trusted, "--handshake-delay", "3"),
            "TRICKLE": (trusted, "--trickle", "1"),
        }
        environment = dict(os.environ)
        for name, (certificate, *options) in settings.items():
            process, url = start_server(folder, certificate, *options)
            servers.append(process)
            environment["TYPRO_HTTPS_%s_URL" % name] = url
        refusing.bind(("127.0.0.1", 0))
        environment["TYPRO_HTTPS_REFUSING_URL"] = "https://127.0.0.1:%d/" % refusing.getsockname()[1]
        environment["TYPRO_HTTPS_CA"] = wine_path(trusted[0])
        environment["TYPRO_HTTPS_DIR"] = wine_path(folder) + "/"
        return subprocess.call(sys.argv[1:], env=environment)
    finally:
        for process in servers:
            process.terminate()
            process.wait()
        refusing.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
