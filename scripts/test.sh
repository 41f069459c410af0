#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs all tests: the portable code natively under
# the sanitizers, then every test program under Wine on a virtual display, through CTest.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" all
source "$ROOT/scripts/env.sh"
ensure_display
ensure_printer
ensure_prefix
status=0
ctest --test-dir "$ROOT/build/native" --output-on-failure || status=1
ctest --test-dir "$ROOT/build/win" --output-on-failure ${CTEST_ARGS:-} || status=1
exit $status
