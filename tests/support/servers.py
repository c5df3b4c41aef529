"""The local test servers of this folder started from Python: each prints its
port on 127.0.0.1 as its first line. Used by the Windows test wrappers."""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))


def make_certificate(folder, name):
    """A self-signed certificate for 127.0.0.1, also as a DNS name: Wine's
    name check does not read IP address entries. Returns (cert, key)."""
    cert, key = (os.path.join(folder, name + suffix) for suffix in ("-cert.pem", "-key.pem"))
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=localhost", "-addext",
                    "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1,DNS:localhost",
                    "-keyout", key, "-out", cert],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return cert, key


class Servers:
    """Server processes, stopped together."""

    def __init__(self):
        self.processes = []

    def start(self, script, *args):
        """Starts SCRIPT with ARGS once it listens; returns its port as text."""
        process = subprocess.Popen(["/usr/bin/python3", os.path.join(HERE, script)] + list(args),
                                   stdout=subprocess.PIPE)
        self.processes.append(process)
        port = process.stdout.readline().strip().decode()
        if not port:
            raise RuntimeError(script + " did not start")
        return port

    def https(self, certificate, *args):
        """An HTTPS server with CERTIFICATE; returns its Crop-R endpoint."""
        port = self.start("https_server.py", "--cert", certificate[0], "--key", certificate[1],
                          *args)
        return "https://127.0.0.1:%s/supplier/edi_levering/" % port

    def stop(self):
        for process in self.processes:
            process.terminate()
            process.wait()
        self.processes = []
