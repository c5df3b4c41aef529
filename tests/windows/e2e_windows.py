"""End to end under Wine: typrosync.exe against the Linux typrosync on the
same sample administration.

A sample administration made by the Linux typrosync-admin is copied twice.
The Linux typrosync runs on one copy (its SQLite engine), typrosync.exe under
Wine on the other (the ODBC engine, which Wine hands to the host's unixODBC
SQLite driver), each against its own local Crop-R receiver (HTTPS, trusted
through TYPROSYNC_CA_BUNDLE) and AgroVision server (FTP). Both must exit 0,
send the same Crop-R requests and upload the same AgroVision files byte for
byte (message numbers and sending times aside, which follow the clock), stamp
the same orders, and write the same run log, in lines ended by CR LF. A
third copy is run by typrosync.exe with a bundle that does not trust the
receiver: no Crop-R message may arrive and its orders stay pending.

Usage: e2e_windows.py LINUX_BUILD WINE_RUN TYPROSYNC_EXE
(LINUX_BUILD holds tools/typrosync-admin and src/run/typrosync)
"""
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from servers import Servers, make_certificate  # noqa: E402

SAMPLE = ["--customers", "40", "--lines", "400", "--seed", "16"]
# Message number and sending time in a message; the date and time in an
# AgroVision file name; the moment and computer name that open a log line.
CLOCK_FIELDS = [
    (re.compile(rb'A800004UniekBerichtNummer="\d+"'), b'A800004UniekBerichtNummer="N"'),
    (re.compile(rb'A800010VerzendDatumBericht="[^"]*"'), b'A800010VerzendDatumBericht="T"'),
]
FILE_TIME = re.compile(r"_\d{6,}")
LOG_HEAD = re.compile(rb"^\d\d-\w+-\d{4} \d\d:\d\d:\d\d : .{15} : ")
STAMP = re.compile(rb"\b\d{14}\b")
DURATION = re.compile(r"\d+,\d s$", re.M)

failures = []


def check(condition, text):
    if not condition:
        failures.append(text)
        print("FAILED: " + text, file=sys.stderr)


def read(path):
    with open(path, "rb") as source:
        return source.read()


def without_clock(data):
    for pattern, replacement in CLOCK_FIELDS:
        data = pattern.sub(replacement, data)
    return data


class Receivers(Servers):
    """A Crop-R receiver and an AgroVision server for the run on the
    administration COPY, named in its agrovision.ini."""

    def __init__(self, folder, certificate, copy):
        super().__init__()
        self.requests = os.path.join(folder, "requests")
        self.uploads = os.path.join(folder, "uploads")
        os.makedirs(self.requests)
        os.makedirs(self.uploads)
        with open(os.path.join(folder, "reply"), "wb") as out:
            out.write(b"<ok/>")
        self.url = self.https(certificate, "--reply-file", os.path.join(folder, "reply"),
                              "--record-dir", self.requests)
        self.ftp_port = self.start("ftp_server.py", "--root", self.uploads)
        with open(os.path.join(copy, "agrovision.ini"), "wb") as out:
            out.write(b"127.0.0.1\r\n%s\r\nagro\r\ngeheim\r\n" % self.ftp_port.encode())

    def bodies(self):
        names = sorted(os.listdir(self.requests), key=lambda n: int(re.sub(r"\D", "", n)))
        result = []
        for name in names:
            head, _, body = read(os.path.join(self.requests, name)).partition(b"\r\n\r\n")
            # The connection number and the port differ between the runs.
            head = re.sub(rb"^#conn \d+\r\n", b"", head)
            head = re.sub(rb"Host: 127\.0\.0\.1:\d+", b"Host: 127.0.0.1", head)
            result.append(head + b"\r\n\r\n" + without_clock(body))
        return result

    def files(self):
        return {FILE_TIME.sub("_D", name): without_clock(read(os.path.join(self.uploads, name)))
                for name in os.listdir(self.uploads)}


def host_names_for(folder, bridge):
    """Wine hands the ODBC connection string to the host's driver unchanged,
    so the SQLite driver gets the administration's Windows path (Z:\\...) and
    reads it as a file name in its working folder. Links of exactly those
    names, in the working folder of the Windows run, lead it to the files."""
    os.makedirs(bridge, exist_ok=True)
    for name in os.listdir(folder):
        if name.endswith(".mdb"):
            windows_name = "Z:" + os.path.join(folder, name).replace("/", "\\")
            os.symlink(os.path.join(folder, name), os.path.join(bridge, windows_name))
    return bridge


def run(command, extra, receivers, bundle, cwd=None):
    environment = dict(os.environ)
    # The Windows runs work in a folder of their own: the Wine prefix stays
    # where the other tests keep theirs.
    environment.setdefault("TYPROSYNC_WINEPREFIX", os.path.join(os.getcwd(), "wine-prefix"))
    environment.pop("TYPROSYNC_ODBC", None)  # the Linux run keeps its SQLite engine
    environment.update(extra)
    environment["TYPROSYNC_CROPR_URL"] = receivers.url
    environment["TYPROSYNC_CA_BUNDLE"] = bundle
    environment["TYPROSYNC_FTP_PORT"] = receivers.ftp_port
    done = subprocess.run(command, env=environment, capture_output=True, timeout=600, cwd=cwd)
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode(
        "utf-8", "replace")


def marks(folder):
    with sqlite3.connect(os.path.join(folder, "TallyraDB.mdb")) as db:
        rows = db.execute("SELECT OrderNr, ifnull(LeveringNaarAgroVision, ''), "
                          "ifnull(LeveringNaarDacom, '') FROM OrderGegevensMeta ORDER BY OrderNr")
        return {order: (agrovision, cropr) for order, agrovision, cropr in rows}


def stamped(marks_by_order, column):
    return sorted(order for order, values in marks_by_order.items() if values[column])


def log(folder):
    return b"".join(read(os.path.join(folder, name)) for name in sorted(os.listdir(folder))
                    if re.fullmatch(r"typrosync-\d{4}-\d\d\.log", name))


def log_lines(data, folder):
    """The lines without their moment and computer name, the data folder
    and the stamps written."""
    data = data.replace(folder.encode(), b"DATA")
    return [STAMP.sub(b"STAMP", LOG_HEAD.sub(b"", line)) for line in data.split(b"\r\n")]


def console_text(output):
    return DURATION.sub("D s", output.replace("\r\n", "\n"))


def main():
    linux_build, wine_run, exe = (os.path.abspath(arg) for arg in sys.argv[1:4])
    admin_tool = os.path.join(linux_build, "tools", "typrosync-admin")
    linux_program = os.path.join(linux_build, "src", "run", "typrosync")
    for program in (admin_tool, linux_program):
        if not os.access(program, os.X_OK):
            print("e2e_windows: the Linux program %s is missing; build it first "
                  "(scripts/test-windows does)" % program, file=sys.stderr)
            return 1
    base = tempfile.mkdtemp(prefix="typro-e2e-win-")
    receivers = []
    try:
        sample = os.path.join(base, "sample")
        subprocess.run([admin_tool, "sample", sample] + SAMPLE, check=True,
                       stdout=subprocess.DEVNULL)
        linux_copy, windows_copy, refused_copy = (os.path.join(base, n)
                                                  for n in ("linux", "windows", "refused"))
        for copy in (linux_copy, windows_copy, refused_copy):
            shutil.copytree(sample, copy)
        trusted = make_certificate(base, "trusted")
        stranger = make_certificate(base, "stranger")
        for copy in (linux_copy, windows_copy, refused_copy):
            receivers.append(Receivers(copy + "-servers", trusted, copy))
        linux_receivers, windows_receivers, refused_receivers = receivers
        before = marks(sample)

        linux = run([linux_program, linux_copy + "/"], {}, linux_receivers, trusted[0])
        odbc = {"TYPROSYNC_ODBC": "Driver=SQLite3;Database={file}"}
        windows = run([wine_run, os.path.abspath(exe), windows_copy + "/"], odbc,
                      windows_receivers, "Z:" + trusted[0],
                      host_names_for(windows_copy, os.path.join(base, "bridge-windows")))
        # The data folder as a Windows path this time.
        refused = run([wine_run, os.path.abspath(exe),
                       "Z:" + refused_copy.replace("/", "\\") + "\\"], odbc,
                      refused_receivers, "Z:" + stranger[0],
                      host_names_for(refused_copy, os.path.join(base, "bridge-refused")))
        for receiver in receivers:
            receiver.stop()

        check(linux[0] == 0, "Linux run exit %d: %s" % (linux[0], linux[2]))
        check(windows[0] == 0, "Windows run exit %d: %s" % (windows[0], windows[2]))
        linux_bodies, windows_bodies = linux_receivers.bodies(), windows_receivers.bodies()
        check(len(linux_bodies) > 0, "the sample sends no Crop-R message")
        check(linux_bodies == windows_bodies,
              "Crop-R requests differ: %d Linux, %d Windows" % (len(linux_bodies),
                                                                len(windows_bodies)))
        linux_files, windows_files = linux_receivers.files(), windows_receivers.files()
        check(len(linux_files) > 0, "the sample uploads no AgroVision file")
        check(linux_files == windows_files,
              "AgroVision files differ: %s / %s" % (sorted(linux_files), sorted(windows_files)))
        linux_marks, windows_marks = marks(linux_copy), marks(windows_copy)
        for column, platform in ((0, "AgroVision"), (1, "Crop-R")):
            check(stamped(linux_marks, column) == stamped(windows_marks, column),
                  "different %s orders stamped" % platform)
            check(len(stamped(windows_marks, column)) > len(stamped(before, column)),
                  "no %s order stamped" % platform)
        stamps = [v for values in windows_marks.values() for v in values if v]
        check(all(re.fullmatch(r"\d{14}", v) or v in before_values(before) for v in stamps),
              "a stamp that is no yyyymmddhhnnss")
        linux_log, windows_log = log(linux_copy), log(windows_copy)
        check(windows_log.endswith(b"\r\n") and b"\n" not in windows_log.replace(b"\r\n", b""),
              "the Windows run log has lines not ended by CR LF")
        linux_lines = log_lines(linux_log, linux_copy)
        windows_lines = log_lines(windows_log, windows_copy)
        differing = [(a, b) for a, b in zip(linux_lines, windows_lines) if a != b]
        check(linux_lines == windows_lines,
              "the run logs differ: %d and %d lines, first differences %r" %
              (len(linux_lines), len(windows_lines), differing[:3]))
        check(console_text(linux[1]) == console_text(windows[1]),
              "the console output differs")

        refused_marks = marks(refused_copy)
        check(refused_receivers.bodies() == [] or
              all(body.endswith(b"\r\n\r\n") for body in refused_receivers.bodies()),
              "a Crop-R message reached an untrusted receiver")
        check(stamped(refused_marks, 1) == stamped(before, 1),
              "Crop-R orders stamped although the receiver was not trusted")
        check(stamped(refused_marks, 0) == stamped(windows_marks, 0),
              "AgroVision orders not delivered beside the refused Crop-R requests")
        print("Linux exit %d, Windows exit %d, refused exit %d; %d Crop-R requests and %d "
              "AgroVision files alike; %d log lines" %
              (linux[0], windows[0], refused[0], len(linux_bodies), len(linux_files),
               len(windows_lines)))
        if failures:
            print("--- Linux output\n" + linux[1] + linux[2], file=sys.stderr)
            print("--- Windows output\n" + windows[1] + windows[2], file=sys.stderr)
            print("--- refused output\n" + refused[1] + refused[2], file=sys.stderr)
        return 1 if failures else 0
    finally:
        for receiver in receivers:
            receiver.stop()
        shutil.rmtree(base, ignore_errors=True)


def before_values(before):
    return {v for values in before.values() for v in values if v}


if __name__ == "__main__":
    sys.exit(main())
