#!/usr/bin/env bash
# The full test suite: builds the native, fuzz, win64 and win32 trees and runs every test
# that can run here (win64 under Wine). Exits non-zero when anything fails.
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
failed=()

step() {
  local name=$1
  shift
  echo
  echo "=== $name"
  if ! "$@"; then failed+=("$name"); fi
}

step "build native" scripts/build.sh native
step "build fuzz" scripts/build.sh fuzz
step "build win64" scripts/build.sh win64
step "build win32" scripts/build.sh win32

step "test native" ctest --preset native -j "$jobs"
step "test fuzz" ctest --preset fuzz -j "$jobs"
step "test win64" tests/harness/wine-session.sh build/win64 ctest --preset win64 -j "$jobs"

echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All builds and tests passed."
