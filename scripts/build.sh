#!/usr/bin/env bash
# Builds the Windows program and its tests (cross, mingw-w64) and the portable code natively.
# Usage: scripts/build.sh [win|native|all]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
jobs=$(nproc)
if [ "$what" = win ] || [ "$what" = all ]; then
  if [ ! -f "$ROOT/build/win/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$ROOT/build/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$ROOT/build/win" -j "$jobs"
fi
if [ "$what" = native ] || [ "$what" = all ]; then
  if [ ! -f "$ROOT/build/native/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$ROOT/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  fi
  cmake --build "$ROOT/build/native" -j "$jobs"
fi
