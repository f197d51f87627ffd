#!/usr/bin/env bash
# Runs the demonstration under Wine with a virtual display and says where its output went.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/demo-output
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.bmp
bin=build/win64/bin
tests/harness/wine-session.sh build/win64 bash -c "
  cd '$out' && '$PWD/tests/harness/wine-run.sh' '$PWD/$bin/tavikdemo.exe' screen.bmp
" | tee "$out/transcript.txt"
status=${PIPESTATUS[0]}
for shot in "$out"/*.bmp; do
  [ -f "$shot" ] || continue
  convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
done
echo
echo "Demo output:"
echo "  transcript: $out/transcript.txt"
for shot in "$out"/*.png; do
  [ -f "$shot" ] && echo "  screenshot: $shot"
done
exit "$status"
