#!/bin/sh
# ctest's emulator for the Windows FTP tests: starts four local FTP servers
# (pyftpdlib on 127.0.0.1, which Wine programs reach as it is), hands their
# ports and root folders over in the environment, runs the program under Wine
# and stops the servers. Listing the tests needs no servers.
#   TYPROSYNC_TEST_FTP_PORT / _ROOT        full rights, full speed
#   TYPROSYNC_TEST_FTP_SLOW_PORT / _ROOT   sends 8 bytes per second
#   TYPROSYNC_TEST_FTP_MOVING_PORT / _ROOT sends 16 KiB per second
#   TYPROSYNC_TEST_FTP_READONLY_PORT / _ROOT refuses uploads and deletions
set -eu
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../../cmake/wine-run.sh"
case " $* " in *" --gtest_list_tests"*) exec "$wine_run" "$@" ;; esac

folder=$(mktemp -d)
pids=""
stop() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$folder"
}
trap stop EXIT
trap 'exit 1' INT TERM

# start NAME WRITE_LIMIT PERMISSIONS: returns once the server listens, its
# port in NAME.port.
start() {
  mkdir -p "$folder/$1"
  /usr/bin/python3 "$here/../support/ftp_server.py" --root "$folder/$1/" \
    --write-limit "$2" --perm "$3" >"$folder/$1.port" &
  pids="$pids $!"
  tries=0
  until [ -s "$folder/$1.port" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 200 ]; then
      echo "with-ftp-servers.sh: the FTP test server $1 did not start" >&2
      exit 1
    fi
    sleep 0.1
  done
}

start plain 0 elradfmwMT
start slow 8 elradfmwMT
start moving 16384 elradfmwMT
start readonly 0 elr
TYPROSYNC_TEST_FTP_PORT=$(head -n 1 "$folder/plain.port")
TYPROSYNC_TEST_FTP_SLOW_PORT=$(head -n 1 "$folder/slow.port")
TYPROSYNC_TEST_FTP_MOVING_PORT=$(head -n 1 "$folder/moving.port")
TYPROSYNC_TEST_FTP_READONLY_PORT=$(head -n 1 "$folder/readonly.port")
TYPROSYNC_TEST_FTP_ROOT="$folder/plain/"
TYPROSYNC_TEST_FTP_SLOW_ROOT="$folder/slow/"
TYPROSYNC_TEST_FTP_MOVING_ROOT="$folder/moving/"
TYPROSYNC_TEST_FTP_READONLY_ROOT="$folder/readonly/"
export TYPROSYNC_TEST_FTP_PORT TYPROSYNC_TEST_FTP_SLOW_PORT TYPROSYNC_TEST_FTP_MOVING_PORT
export TYPROSYNC_TEST_FTP_ROOT TYPROSYNC_TEST_FTP_SLOW_ROOT TYPROSYNC_TEST_FTP_MOVING_ROOT
export TYPROSYNC_TEST_FTP_READONLY_PORT TYPROSYNC_TEST_FTP_READONLY_ROOT
status=0
"$wine_run" "$@" || status=$?
exit "$status"
