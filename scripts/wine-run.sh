#!/usr/bin/env bash
# Runs a Windows executable under the project's Wine prefix (the test emulator for CTest).
source "$(dirname "$0")/env.sh"
exec "$WINE64" "$@"
