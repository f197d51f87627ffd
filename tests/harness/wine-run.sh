#!/bin/sh
# CTest's emulator for the win64 tree: runs one Windows program in the session's Wine prefix.
here=$(dirname "$0")
. "$here/wine-env.sh"
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: no Wine session; run tests through tests/harness/wine-session.sh" >&2
  exit 1
fi
exec "$TAVIK_WINE" "$@"
