#!/bin/bash
# Peak memory of one run whose single customer has about 50,000 pending
# crop-protection lines (one Crop-R message of some 18 MB), sent to a local
# HTTPS receiver. Prints the run's summary line and its maximum resident size.
#   bench/large_customer_memory.sh BUILD_DIR [WORK_DIR]
# TYPROSYNC_PROGRAM names another typrosync to measure.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "$1" && pwd)
WORK=${2:-$(mktemp -d)}
PY=/usr/bin/python3
mkdir -p "$WORK"
ADMIN="$WORK/admin"
PRISTINE="$WORK/pristine"

if [ ! -f "$PRISTINE/TallyraDB.mdb" ]; then
  rm -rf "$PRISTINE"
  "$BUILD/tools/typrosync-admin" sample "$PRISTINE" --customers 1 --lines 126000 >/dev/null
  # The one customer goes to Crop-R and nothing has been reported yet.
  sqlite3 "$PRISTINE/TallyraDB.mdb" "UPDATE RelatieGegevens SET Relatiegroep = ' X';
    UPDATE OrderGegevensMeta SET LeveringNaarDacom = '', LeveringNaarAgroVision = '';"
fi
rm -rf "$ADMIN"
cp -r "$PRISTINE" "$ADMIN"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=127.0.0.1" \
  -addext "subjectAltName=IP:127.0.0.1" -keyout "$WORK/key.pem" -out "$WORK/cert.pem" 2>/dev/null
printf '<ok/>' >"$WORK/reply"
"$PY" "$ROOT/tests/support/https_server.py" --cert "$WORK/cert.pem" --key "$WORK/key.pem" \
  --reply-file "$WORK/reply" >"$WORK/https.port" 2>"$WORK/https.err" &
SERVER=$!
trap 'kill $SERVER 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$WORK/https.port" ] && break; sleep 0.1; done
PORT=$(head -n 1 "$WORK/https.port")

env -u DISPLAY -u WAYLAND_DISPLAY \
  TYPROSYNC_CROPR_URL="https://127.0.0.1:$PORT/supplier/edi_levering/" \
  TYPROSYNC_CA_BUNDLE="$WORK/cert.pem" \
  /usr/bin/time -v "${TYPROSYNC_PROGRAM:-$BUILD/src/run/typrosync}" "$ADMIN" >"$WORK/out.txt" 2>"$WORK/time.txt" || true
grep -E "^Samenvatting|^Status: Gereed" "$WORK/out.txt" || tail -3 "$WORK/out.txt"
echo "message bytes: $(stat -c %s "$ADMIN/bericht.xml" 2>/dev/null || echo none)"
grep -E "Maximum resident set size|Elapsed" "$WORK/time.txt"
