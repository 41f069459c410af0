#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program under Wine (on a virtual display when
# there is none). When it ends, what this run started is ended too (scripts/env.sh: begin_run).
# On Windows, build with CMake and start Orvand.exe from the build folder instead.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" win
source "$ROOT/scripts/env.sh"
begin_run
ensure_display
ensure_printer
ensure_prefix
echo "Orvand 3 runs on display $DISPLAY"
"$WINE64" "$ROOT/build/win/Orvand.exe"
