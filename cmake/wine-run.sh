#!/bin/sh
# Runs a Windows program under Wine for ctest. The prefix is kept in
# TYPROSYNC_WINEPREFIX (default: wine-prefix in the current folder, which
# for ctest is the build folder) and made once with wineboot.
set -eu
loader=${TYPROSYNC_WINE:-/usr/lib/wine/wine64}
if [ ! -x "$loader" ]; then
  echo "wine-run.sh: Wine loader $loader not found; the Windows tests cannot run" >&2
  exit 127
fi
WINEPREFIX=${TYPROSYNC_WINEPREFIX:-$PWD/wine-prefix}
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
# No window and no Mono or Gecko prompts while the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$loader" wineboot --init >/dev/null 2>&1 || {
    echo "wine-run.sh: wineboot could not make the prefix $WINEPREFIX" >&2
    exit 127
  }
  # wineboot returns before wineserver has written the registry.
  server="$(dirname "$loader")/wineserver"
  if [ -x "$server" ]; then "$server" -w; fi
fi
exec "$loader" "$@"
