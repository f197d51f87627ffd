#!/usr/bin/env bash
# Runs the demonstration under Wine with a virtual display and says where its output went.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/demo-output
mkdir -p "$out"
bin=build/win64/bin
tests/harness/wine-session.sh build/win64 bash -c "
  cd '$out' && '$PWD/tests/harness/wine-run.sh' '$PWD/$bin/tavikdemo.exe' screen.bmp
" | tee "$out/transcript.txt"
status=${PIPESTATUS[0]}
if [ -f "$out/screen.bmp" ]; then
  convert "$out/screen.bmp" "$out/screen.png" && rm -f "$out/screen.bmp"
fi
echo
echo "Demo output:"
echo "  transcript: $out/transcript.txt"
if [ -f "$out/screen.png" ]; then echo "  screenshot: $out/screen.png"; fi
exit "$status"
