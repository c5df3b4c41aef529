#!/usr/bin/python3
"""The Debian package as an administrator gets it.

Builds the package of a finished build tree with CPack, checks it with
dpkg-deb and lintian (errors fail, warnings are listed), unpacks it into a
scratch root and runs its programs there, verifies the systemd units with an
instance filled in and renders both manual pages.

usage: package_test.py BUILD_DIR VERSION
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

INSTANCE = "srv-tallyra-302021"  # systemd-escape --path /srv/tallyra/302021
EXPECTED_FILES = [
    "./usr/bin/typrosync",
    "./usr/bin/typrosync-admin",
    "./usr/lib/systemd/system/typrosync@.service",
    "./usr/lib/systemd/system/typrosync@.timer",
    "./usr/lib/sysusers.d/typrosync.conf",
    "./usr/share/man/man1/typrosync.1.gz",
    "./usr/share/man/man1/typrosync-admin.1.gz",
    "./usr/share/doc/typrosync/README.md",
    "./usr/share/doc/typrosync/copyright",
    "./usr/share/doc/typrosync/changelog.gz",
]
# Libraries the programs link; each must be a computed, versioned dependency.
EXPECTED_DEPENDS = ["libc6", "libstdc++6", "libsqlite3-0", "libcurl4", "libqt6widgets6"]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


def build_package(build_dir, work):
    made = run(["cpack", "-G", "DEB", "-B", work, "--config",
                os.path.join(build_dir, "CPackConfig.cmake")])
    if made.returncode != 0:
        print(made.stdout, made.stderr)
        sys.exit("FAIL: cpack did not make the package")
    arch = run(["dpkg", "--print-architecture"]).stdout.strip()
    return os.path.join(work, "typrosync_%s_%s.deb" % (VERSION, arch)), arch


def check_info(deb, arch):
    info = run(["dpkg-deb", "--info", deb]).stdout
    print(info)
    for field in ["Package: typrosync", "Version: " + VERSION, "Architecture: " + arch]:
        check(re.search("^ " + re.escape(field) + "$", info, re.M), "control field " + field)
    depends = re.search(r"^ Depends: (.*)$", info, re.M)
    check(depends, "a Depends field")
    for library in EXPECTED_DEPENDS:
        check(depends and re.search(r"(^|, )%s \(>= [^)]+\)" % re.escape(library),
                                    depends.group(1)),
              "computed dependency on " + library)


def check_contents(deb):
    entries = {fields[5]: (fields[0], fields[1]) for fields in
               map(str.split, run(["dpkg-deb", "--contents", deb]).stdout.splitlines())}
    for path in EXPECTED_FILES:
        check(path in entries, "package holds " + path)
    for path, (mode, owner) in entries.items():
        check(owner == "root/root", "%s owned by root (%s)" % (path, owner))
        check(not path.startswith("./usr/local"), "nothing under /usr/local: " + path)
    for program in ["./usr/bin/typrosync", "./usr/bin/typrosync-admin"]:
        check(entries.get(program, ("",))[0] == "-rwxr-xr-x", program + " is executable")


def check_lintian(deb):
    if not shutil.which("lintian"):
        print("SKIPPED: lintian is not installed")
        return
    tags = run(["lintian", "--no-tag-display-limit", deb]).stdout.splitlines()
    print("lintian warnings:\n  " + "\n  ".join(line for line in tags if line.startswith("W: ")))
    for line in tags:
        check(not line.startswith("E: "), "lintian " + line)


def check_programs(root):
    version = run([root + "/usr/bin/typrosync", "--version"])
    check(version.stdout == "typrosync %s\n" % VERSION,
          "typrosync --version prints the package version: " + repr(version.stdout))
    admin = os.path.join(root, "srv/tallyra/302021")
    made = run([root + "/usr/bin/typrosync-admin", "create", admin])
    check(made.returncode == 0, "typrosync-admin create: " + made.stderr)
    for name in ["TallyraDB.mdb", "Archief.mdb"]:
        check(os.path.getsize(os.path.join(admin, name)) > 0, "create made " + name)


def unit_text(root, name):
    return open(os.path.join(root, "usr/lib/systemd/system", name)).read()


def check_units(root):
    service = unit_text(root, "typrosync@.service")
    check("\nExecStart=/usr/bin/typrosync --quiet %f/\n" in service,
          "the service runs the packaged program on the data folder")
    check("\nReadWritePaths=-%f\n" in service, "the data folder stays writable")
    if not shutil.which("systemd-analyze"):
        print("SKIPPED: systemd-analyze is not installed, the units are not verified")
        return
    # The scratch root needs the targets and slices the units depend on.
    unit_dir = os.path.join(root, "usr/lib/systemd/system")
    for host_dir in filter(os.path.isdir, ["/usr/lib/systemd/system", "/lib/systemd/system"]):
        for name in os.listdir(host_dir):
            source, target = os.path.join(host_dir, name), os.path.join(unit_dir, name)
            if name.endswith((".target", ".slice")) and not os.path.lexists(target) \
                    and os.path.isfile(source):
                shutil.copy(source, target)
    units = ["typrosync@%s.service" % INSTANCE, "typrosync@%s.timer" % INSTANCE]
    verify = run(["systemd-analyze", "verify", "--man=no", "--root=" + root] + units)
    check(verify.returncode == 0 and verify.stdout + verify.stderr == "",
          "systemd-analyze verify: " + verify.stdout + verify.stderr)
    calendar = re.search(r"^OnCalendar=(.*)$", unit_text(root, "typrosync@.timer"), re.M)
    times = run(["systemd-analyze", "calendar", "--iterations=200", calendar.group(1)]).stdout
    elapses = re.findall(r"(?:Next elapse|Iter. #\d+): (\w{3}) \d{4}-\d\d-\d\d (\d\d):(\d\d):00",
                         times)
    check(len(elapses) == 200, "the timer's calendar gives 200 times")
    check(all(day not in ("Sat", "Sun") and 7 <= int(hour) <= 18 and minute in
              ("00", "15", "30", "45") for day, hour, minute in elapses),
          "the timer fires on working days, 07:00-18:45, every 15 minutes")
    check(("18", "45") in [(h, m) for _, h, m in elapses], "the last run of a day is 18:45")


def check_manual_pages(root):
    if not shutil.which("man"):
        print("SKIPPED: man is not installed, the manual pages are not rendered")
        return
    environment = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
    for page in ["typrosync", "typrosync-admin"]:
        path = os.path.join(root, "usr/share/man/man1/%s.1.gz" % page)
        shown = run(["man", "--warnings", "-l", path], env=environment)
        check(shown.returncode == 0 and shown.stderr == "",
              "man renders %s(1) without warnings: %s" % (page, shown.stderr))
        for section in ["NAME", "SYNOPSIS", "DESCRIPTION", "EXIT STATUS", "EXAMPLES"]:
            check(re.search("^" + section + "$", shown.stdout, re.M), page + "(1) has " + section)
        check("typrosync " + VERSION in shown.stdout, page + "(1) names the version")
        for status in "0123" if page == "typrosync" else "":
            check(re.search(r"^\s+%s\s" % status, shown.stdout.split("EXIT STATUS")[-1], re.M),
                  "typrosync(1) lists exit status " + status)


def main():
    build_dir = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="typrosync-package-") as work:
        deb, arch = build_package(build_dir, work)
        check(os.path.isfile(deb), "the package is named " + os.path.basename(deb))
        if not os.path.isfile(deb):
            sys.exit(1)
        check_info(deb, arch)
        check_contents(deb)
        check_lintian(deb)
        root = os.path.join(work, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        check_programs(root)
        check_units(root)
        check_manual_pages(root)
    if failures:
        sys.exit("%d check(s) failed" % len(failures))
    print("package checks passed")


if __name__ == "__main__":
    VERSION = sys.argv[2]
    main()
