#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs all tests: the portable code natively under
# the sanitizers, a short run of the fuzz targets, then every test program under Wine on a virtual
# display, through CTest. The program is also built with clang (warnings as errors) and packed, so both
# stay possible.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" all
bash "$ROOT/scripts/build.sh" clang
bash "$ROOT/scripts/package.sh" >/dev/null
source "$ROOT/scripts/env.sh"
begin_run
ensure_display
ensure_printer
ensure_prefix
status=0
ctest --test-dir "$ROOT/build/native" --output-on-failure || status=1
bash "$ROOT/scripts/fuzz.sh" || status=1
ctest --test-dir "$ROOT/build/win" --output-on-failure ${CTEST_ARGS:-} || status=1
exit $status
