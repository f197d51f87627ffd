#!/usr/bin/env bash
# Installs what building, testing and the demo need on Debian 12. Runs as root (or through
# sudo); does nothing that is already done.
set -euo pipefail

packages=(
  g++ make cmake ccache
  mingw-w64 mingw-w64-tools libwine-dev nasm dpkg-dev
  wine wine64 xvfb x11-utils xauth
  googletest libgtest-dev libbenchmark-dev libjpeg62-turbo-dev
  clang libclang-rt-14-dev
  imagemagick netpbm libtiff-tools giflib-tools libjpeg-turbo-progs gifsicle
  pkg-config libgif-dev libtiff-dev libmagickcore-6.q16-dev
  scowl hunspell hunspell-en-us
  python3 python3-dbf python3-dbfread
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The mingw trees build libjpeg-turbo from Debian's source package: deb-src entries needed.
need_update=0
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    as_root sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  else
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee /etc/apt/sources.list.d/tavik-src.list >/dev/null
  fi
  need_update=1
fi
if ! ls /var/lib/apt/lists/*Sources* >/dev/null 2>&1; then need_update=1; fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update -eq 1 ]; then
  as_root apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
fi
