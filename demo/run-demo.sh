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

# The same server driven by a FoxPro program through TAVIKI32.FLL in our FoxPro host, showing
# a picture ImageMagick draws for it.
convert logo: -resize 380x300 BMP3:"$out/picture.bmp"
echo
echo "=== A FoxPro program: host/demo/tavikdemo.prg in foxhost"
tests/harness/wine-session.sh build/win64 bash -c "
  cd '$out' &&
  '$PWD/tests/harness/wine-run.sh' '$PWD/$bin/foxhost.exe' '$PWD/host/demo/tavikdemo.prg' \
      'picture.bmp' > foxhost-transcript.txt 2>&1 &
  fox=\$!
  # The program waits ten seconds with its windows up; photograph them meanwhile.
  for i in 1 2 3 4 5 6 7 8; do
    sleep 1
    if grep -q 'Shown:' foxhost-transcript.txt 2>/dev/null; then break; fi
  done
  sleep 1
  import -window root '$out/foxhost-screen.png'
  wait \$fox
" && cat "$out/foxhost-transcript.txt" || status=1
rm -f "$out/picture.bmp"
for shot in "$out"/*.bmp; do
  [ -f "$shot" ] || continue
  convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
done
echo
echo "Demo output:"
echo "  transcripts: $out/transcript.txt, $out/foxhost-transcript.txt"
for shot in "$out"/*.png; do
  [ -f "$shot" ] && echo "  screenshot: $shot"
done
exit "$status"
