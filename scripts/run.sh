#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program under Wine (on a virtual display when
# there is none). On Windows, build with CMake and start build\Orvand.exe instead.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" win
source "$ROOT/scripts/env.sh"
ensure_display
ensure_printer
ensure_prefix
echo "Orvand 3 runs on display $DISPLAY"
exec "$WINE64" "$ROOT/build/win/Orvand.exe"
