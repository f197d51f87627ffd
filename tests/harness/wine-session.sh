#!/usr/bin/env bash
# Usage: wine-session.sh BUILD_DIR COMMAND [ARGS...]
# Runs COMMAND (usually ctest) with an Xvfb display and a long-lived wineserver on a private
# Wine prefix inside BUILD_DIR, made once. Stops only what it started.
set -u
if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR COMMAND [ARGS...]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
build=$(cd "$1" && pwd) || exit 2
shift
export WINEPREFIX=$build/wineprefix
stamp=$WINEPREFIX/.tavik-prefix-ready

xvfb_pid=
child=
cleanup() {
  [ -n "$child" ] && kill "$child" 2>/dev/null
  "$TAVIK_WINESERVER" -k 2>/dev/null
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The first display number nobody holds.
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
if ! xdpyinfo >/dev/null 2>&1; then
  echo "wine-session.sh: Xvfb did not start on $DISPLAY" >&2
  exit 1
fi

# A half-made prefix can leave system.reg behind, so only the stamp says the prefix is usable.
if [ ! -f "$stamp" ]; then
  echo "wine-session.sh: making the Wine prefix $WINEPREFIX" >&2
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$TAVIK_WINESERVER" -p
  "$TAVIK_WINE" wineboot -i >/dev/null 2>&1 </dev/null
  "$TAVIK_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # Unmanaged windows: otherwise every dialog closes two seconds late.
  "$TAVIK_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  "$TAVIK_WINESERVER" -k
  "$TAVIK_WINESERVER" -w
  touch "$stamp"
fi

# A persistent wineserver with its services up: each test then starts in about 0.1 s, not 2 s.
# Started here, outside the command's output pipes, so the command's readers see end of file.
"$TAVIK_WINESERVER" -p
"$TAVIK_WINE" wineboot >/dev/null 2>&1 </dev/null

# In the background, so that this script's traps run on a signal.
"$@" &
child=$!
wait "$child"
rc=$?
child=
exit $rc
