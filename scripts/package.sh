#!/usr/bin/env bash
# Makes the download: build/win/Orvand-3.03-win64.zip with Orvand.exe and its read-me (CZYTAJ.txt),
# and checks that both are in it.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
bash "$ROOT/scripts/build.sh" win >/dev/null
cd "$ROOT/build/win"
cpack -G ZIP >/dev/null
zip=$(ls -t Orvand-*-win64.zip | head -1)
listing=$(cmake -E tar tf "$zip")
for f in Orvand.exe CZYTAJ.txt; do
  grep -qx "$f" <<<"$listing" || { echo "$zip lacks $f" >&2; exit 1; }
done
echo "$ROOT/build/win/$zip"
