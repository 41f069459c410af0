#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# each for a while, starting from its corpus in tests/fuzz/corpus/<target>.
# Usage: scripts/fuzz.sh [target...]     (targets: the tests/fuzz/fuzz_<target>.cpp; default all)
#   ORVAND_FUZZ_SECONDS  time for each target, default 7 (about a minute for all of them)
#        scripts/fuzz.sh --coverage [target...]
#   runs the corpora (the repository's and the one kept in build/fuzz) once through an instrumented
#   build and prints the source coverage of the routines under test.
# New inputs that reach further are kept in build/fuzz/corpus/<target>. An input that crashes a target
# or breaks one of its properties is written to build/fuzz/findings/<target>/ and the script fails.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build/fuzz
seconds=${ORVAND_FUZZ_SECONDS:-7}
coverage=0
if [ "${1:-}" = --coverage ]; then
  coverage=1
  shift
fi

configure() {  # build folder, extra CMake options
  if [ ! -f "$1/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$ROOT" -B "$1" -DORVAND_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}" >/dev/null
  fi
  cmake --build "$1" -j "$(nproc)" >/dev/null
}
configure "$BUILD"

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in "$ROOT"/tests/fuzz/fuzz_*.cpp; do
    n=$(basename "$f" .cpp)
    targets+=("${n#fuzz_}")
  done
fi

if [ $coverage = 1 ]; then
  COV=$ROOT/build/fuzz-cov
  configure "$COV" -DORVAND_FUZZ_COVERAGE=ON
  rm -f "$COV"/*.profraw
  objects=()
  for t in "${targets[@]}"; do
    mkdir -p "$BUILD/corpus/$t"
    LLVM_PROFILE_FILE="$COV/$t.profraw" "$COV/fuzz_$t" -runs=0 "$BUILD/corpus/$t" "$ROOT/tests/fuzz/corpus/$t" \
      >"$COV/$t.log" 2>&1
    objects+=(-object "$COV/fuzz_$t")
  done
  llvm-profdata merge -o "$COV/all.profdata" "$COV"/*.profraw
  # The routines under test, not the harnesses.
  llvm-cov report --instr-profile="$COV/all.profdata" "${objects[@]:1}" \
    "$ROOT"/src/fslists/{path_text,path_split,directory_items,file_type}.cpp \
    "$ROOT"/src/dialogs/file_dialog_texts.cpp "$ROOT"/src/printing/comma_field.cpp \
    "$ROOT"/src/shelltree/{shell_names,id_list}.cpp "$ROOT"/src/runtime/int_conversion.cpp \
    "$ROOT"/src/listing/listing_composition.cpp
  exit 0
fi

status=0
printf '%-16s %10s %8s %8s %8s  %s\n' target runs exec/s cov ft result
for t in "${targets[@]}"; do
  corpus=$BUILD/corpus/$t
  findings=$BUILD/findings/$t
  mkdir -p "$corpus" "$findings"
  args=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/")
  [ -f "$ROOT/tests/fuzz/$t.dict" ] && args+=(-dict="$ROOT/tests/fuzz/$t.dict")
  log=$BUILD/$t.log
  result=ok
  if ! "$BUILD/fuzz_$t" "${args[@]}" "$corpus" "$ROOT/tests/fuzz/corpus/$t" >"$log" 2>&1; then
    result="FAILED (see $log; input in $findings)"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2 || true)
  printf '%-16s %10s %8s %8s %8s  %s\n' "$t" "${runs:--}" "${speed:--}" "${cov:--}" "${ft:--}" "$result"
  if [ "$result" != ok ]; then
    grep -E 'ERROR|property broken|SUMMARY|^  ' "$log" | head -20 || true
  fi
done
exit $status
