#!/usr/bin/env bash
# Usage: build.sh PRESET...   Configures (once) and builds each preset's tree.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
for preset in "$@"; do
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset" -j "$jobs"
done
