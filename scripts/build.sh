#!/usr/bin/env bash
# Builds the Windows program and its tests (cross, mingw-w64 GCC) and the portable code natively;
# "clang" builds the program alone with clang for the same target, warnings as errors.
# Usage: scripts/build.sh [win|native|all|clang] [target...]   (targets: only these, of the Windows build)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
shift || true
targets=()
for t in "$@"; do targets+=(--target "$t"); done
jobs=$(nproc)
if [ "$what" = win ] || [ "$what" = all ]; then
  if [ ! -f "$ROOT/build/win/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$ROOT/build/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$ROOT/build/win" -j "$jobs" "${targets[@]}"
fi
if [ "$what" = native ] || [ "$what" = all ]; then
  if [ ! -f "$ROOT/build/native/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$ROOT/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  fi
  cmake --build "$ROOT/build/native" -j "$jobs"
fi
if [ "$what" = clang ]; then
  if [ ! -f "$ROOT/build/clang/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$ROOT/build/clang" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/clang-mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DORVAND_BUILD_TESTS=OFF -DORVAND_WARNINGS_AS_ERRORS=ON >/dev/null
  fi
  cmake --build "$ROOT/build/clang" -j "$jobs" --target Orvand
fi
