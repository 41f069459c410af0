#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian/Ubuntu machine.
# Idempotent: returns quickly when everything is there.
set -euo pipefail

pkgs=(cmake make g++ g++-mingw-w64-x86-64 mingw-w64-tools clang lld wine64 wine xvfb xauth x11-utils xdotool
      fonts-wine fonts-liberation googletest locales imagemagick poppler-utils cups cups-client cups-bsd printer-driver-cups-pdf
      libjpeg-dev dpkg-dev)

# The fuzz targets: clang's libFuzzer and sanitizer runtimes; llvm for their coverage report.
pkgs+=(libclang-rt-dev llvm)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive

  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine decodes Unix file names with the Unix locale: Polish names need pl_PL.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
  echo "setup: generating pl_PL.UTF-8"
  $SUDO sed -i 's/^# *\(pl_PL.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# libjpeg for the Windows program: fetched as Debian's source package and cross-built once (build/libjpeg).
bash "$(dirname "$0")/libjpeg.sh"
