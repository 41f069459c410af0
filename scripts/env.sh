# Sourced by the project's scripts: the Wine environment the program and its tests run in.
# The prefix is the project's own, under the build folder, never the user's ~/.wine.
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export LANG=pl_PL.UTF-8
unset LC_ALL
WINE64=/usr/lib/wine/wine64
[ -x "$WINE64" ] || WINE64=$(command -v wine64 || command -v wine)
export WINE64
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
export WINESERVER

# Wine needs an X display to create windows. Without a working one, the prefix gets a virtual display
# of its own (one prefix per display: two Wine desktops on one display get in each other's way).
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local record="$WINEPREFIX.display"
  if [ -f "$record" ] && DISPLAY=$(cat "$record") xdpyinfo >/dev/null 2>&1; then
    export DISPLAY=$(cat "$record"); return 0
  fi
  local n=99
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    if xdpyinfo >/dev/null 2>&1; then
      mkdir -p "$(dirname "$record")"; echo ":$n" > "$record"; return 0
    fi
    sleep 0.1
  done
  echo "could not start Xvfb on :$n" >&2; return 1
}

# A fresh prefix takes about 10 s to initialise; keep the server running between test processes.
ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/.orvand-settings" ]; then
    "$WINE64" wineboot --init </dev/null >/dev/null 2>&1 || true
    "$WINE64" regedit /S "$(winepath_of "$ROOT/scripts/wine-settings.reg")" </dev/null >/dev/null 2>&1
    # The desktop settings take effect with the next start of the prefix's services.
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.orvand-settings"
  fi
  "$WINESERVER" -p >/dev/null 2>&1 || true
  # The prefix's services start with the first program and inherit its output: start them here, on
  # /dev/null, so they never hold a test runner's pipe open.
  "$WINE64" cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
}

# A real printer for Wine: CUPS with a PDF queue (cups-pdf), the scheduler started when it is not
# running. The queue becomes the system default only when there is none; our own Wine processes take
# it as their default through PRINTER, so a developer's paper printer is never used by the tests.
# ORVAND_PDF_DIR names the folder where the printed documents arrive.
ensure_printer() {
  local sudo="" name out
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  command -v lpstat >/dev/null 2>&1 || { echo "no CUPS client: run scripts/setup.sh" >&2; return 1; }
  if [[ "$(LANG=C lpstat -r 2>/dev/null)" != *"is running"* ]]; then
    $sudo cupsd || { echo "could not start cupsd" >&2; return 1; }
    for _ in $(seq 1 50); do [[ "$(LANG=C lpstat -r 2>/dev/null)" == *"is running"* ]] && break; sleep 0.1; done
  fi
  name=$(LANG=C lpstat -v 2>/dev/null | sed -n 's/^device for \([^:]*\): cups-pdf:.*/\1/p' | sed -n 1p || true)
  if [ -z "$name" ]; then
    name=PDF
    $sudo lpadmin -p "$name" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null ||
      { echo "could not add the PDF printer" >&2; return 1; }
  fi
  if [[ "$(LANG=C lpstat -d 2>/dev/null)" != *"system default destination:"* ]]; then
    $sudo lpadmin -d "$name" 2>/dev/null || true
  fi
  unset LPDEST
  export PRINTER="$name"
  out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | sed -n '$p' || true)
  out=${out:-'${HOME}/PDF'}
  out=${out//'${HOME}'/$HOME}
  out=${out//'${USER}'/$(id -un)}
  export ORVAND_PDF_DIR="$out"
}

# The Windows form of a Unix path (drive Z: is the Unix root).
winepath_of() {
  printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"
}
