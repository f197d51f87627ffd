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
for shot in screen windows; do
  if [ -f "$out/$shot.bmp" ]; then
    convert "$out/$shot.bmp" "$out/$shot.png" && rm -f "$out/$shot.bmp"
  fi
done
echo
echo "Demo output:"
echo "  transcript: $out/transcript.txt"
for shot in windows screen; do
  if [ -f "$out/$shot.png" ]; then echo "  screenshot: $out/$shot.png"; fi
done
exit "$status"
