# Sourced by the project's scripts: the Wine environment the program and its tests run in.
# The prefix is the project's own, under the build folder, never the user's ~/.wine.
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$ROOT/build/wine}
# Wine's own trace channels stay off, but for the two that say why a program could not start at all: a
# DLL that did not load ends a process in hundredths of a second with status c0000135 and, with every
# channel off, not a word; a display that could not be opened is named by winediag.
export WINEDEBUG=${WINEDEBUG:--all,err+module,err+winediag}
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

# A run (test.sh, run.sh, an end-to-end script started by hand) calls begin_run first. What runs start
# for the prefix (the virtual display, the prefix's Wine server, its PDF queue) is ended by the last run
# of the prefix to finish, through the process ids recorded when it was started; what was already there
# (a display given in DISPLAY, a server started by hand, a scheduler the system runs) is left alone.
# Each run leaves its process id in a folder beside the prefix while it lasts.
begin_run() {
  [ "${ORVAND_RUN_PREFIX:-}" != "$WINEPREFIX" ] || return 0
  mkdir -p "$WINEPREFIX.runs"
  (
    flock 9
    # No server for the prefix yet: the one that comes up now is a run's.
    [ -n "$(prefix_server_pids)" ] || touch "$WINEPREFIX.server-of-a-run"
    touch "$WINEPREFIX.runs/$$"
  ) 9>>"$WINEPREFIX.lock"
  export ORVAND_RUN_PREFIX="$WINEPREFIX"
  trap end_run EXIT
}

end_run() {
  local status=$?
  [ "${ORVAND_RUN_PREFIX:-}" = "$WINEPREFIX" ] || return $status
  rm -f "$WINEPREFIX.runs/$$"
  (
    flock 9
    if [ -z "$(live_runs "$WINEPREFIX.runs")" ]; then
      if [ -f "$WINEPREFIX.server-of-a-run" ]; then
        "$WINESERVER" -k >/dev/null 2>&1 || true
        "$WINESERVER" -w >/dev/null 2>&1 || true
        rm -f "$WINEPREFIX.server-of-a-run"
      fi
      stop_run_display
      remove_run_printer
    fi
  ) 9>>"$WINEPREFIX.lock"
  unset ORVAND_RUN_PREFIX
  release_scheduler
  return $status
}

# The process ids in a folder of runs that are still alive; the files of ended ones are removed.
live_runs() {
  local f
  for f in "$1"/*; do
    [ -e "$f" ] || continue
    if [ -d "/proc/${f##*/}" ]; then echo "${f##*/}"; else rm -f "$f"; fi
  done
}

# The Wine servers serving this prefix: wineserver works in a folder named after the prefix's device
# and inode.
prefix_server_pids() {
  local id p
  id=$(stat -L -c '%d %i' "$WINEPREFIX" 2>/dev/null) || return 0
  id=$(printf 'server-%x-%x' $id)
  for p in /proc/[0-9]*; do
    case "$(readlink "$p/cwd" 2>/dev/null)" in
      */"$id") case "$(cat "$p/comm" 2>/dev/null)" in wineserver*) echo "${p#/proc/}" ;; esac ;;
    esac
  done
}

# Wine needs an X display to create windows. Without a working one, the prefix gets a virtual display
# of its own (one prefix per display: two Wine desktops on one display get in each other's way); its
# record names the display and the Xvfb process, and whether a run started it.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local record="$WINEPREFIX.display" shown
  if [ -f "$record" ]; then
    read -r shown _ < "$record"
    if DISPLAY=$shown xdpyinfo >/dev/null 2>&1; then export DISPLAY=$shown; return 0; fi
  fi
  local n=99 pid
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  # -noreset: no Wine process stays connected between two test programs, and Xvfb resets itself each time
  # its last client leaves, closing whatever connects at that moment: the next program would lose its
  # display while it starts.
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do
    if xdpyinfo >/dev/null 2>&1; then
      mkdir -p "$(dirname "$record")"
      echo ":$n $pid ${ORVAND_RUN_PREFIX:+run}" > "$record"
      return 0
    fi
    sleep 0.1
  done
  echo "could not start Xvfb on :$n" >&2; return 1
}

# Stops the prefix's Xvfb when a run started it: by its recorded id, after checking that the id is
# still that Xvfb.
stop_run_display() {
  local record="$WINEPREFIX.display" shown pid by
  [ -f "$record" ] || return 0
  read -r shown pid by < "$record"
  [ "$by" = run ] || return 0
  if [ -n "$pid" ] && tr '\0' ' ' < "/proc/$pid/cmdline" 2>/dev/null | grep -q "^Xvfb $shown "; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$record"
}

# A fresh prefix takes about 10 s to initialise; keep the server running between test processes.
ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ ! -f "$WINEPREFIX/.orvand-settings" ]; then
    # What Wine says while it makes the prefix is kept, and shown when a step fails: a prefix made in part
    # fails its programs later in ways that no longer tell why.
    local log="$WINEPREFIX.init.log"
    if ! "$WINE64" wineboot --init </dev/null >"$log" 2>&1 ||
       ! "$WINE64" regedit /S "$(winepath_of "$ROOT/scripts/wine-settings.reg")" </dev/null >>"$log" 2>&1; then
      echo "could not make the Wine prefix $WINEPREFIX:" >&2; cat "$log" >&2; return 1
    fi
    # The desktop settings take effect with the next start of the prefix's services.
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.orvand-settings"
  fi
  # Wine's own fonts (MS Sans Serif, Tahoma, ...) are listed in the prefix's registry as files of its
  # Fonts folder, but Debian's Wine neither puts them there nor reads them from where they are
  # installed: without them "MS Sans Serif" falls back to Liberation Sans, a sixth wider.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
  if [ -d "$fonts" ] && [ ! -e "$fonts/sserifee.fon" ]; then
    for f in "$(dirname "$WINE64")/../../share/wine/fonts"/* /usr/share/wine/fonts/*; do
      if [ -f "$f" ] && [ ! -e "$fonts/${f##*/}" ]; then ln -s "$(realpath "$f")" "$fonts/${f##*/}"; fi
    done
  fi
  "$WINESERVER" -p >/dev/null 2>&1 || true
  # The prefix's services start with the first program and inherit its output: start them here, on
  # /dev/null, so they never hold a test runner's pipe open.
  if ! "$WINE64" cmd.exe /c exit 0 </dev/null >/dev/null 2>"$WINEPREFIX.start.log"; then
    echo "Wine does not start programs in $WINEPREFIX:" >&2; cat "$WINEPREFIX.start.log" >&2; return 1
  fi
}

# A real printer for Wine: CUPS with a PDF queue (cups-pdf) of the prefix's own, whose documents
# arrive in a folder beside the prefix, so runs in two work trees never see each other's printouts. The
# queue is never made the system's default: our Wine processes take it as theirs through PRINTER. The
# scheduler is started only when it is not running; a run that started it stops it when no run on the
# machine needs it any more. ORVAND_PDF_DIR names the folder where the printed documents arrive.
ORVAND_PRINTING_RUNS=/tmp/orvand-printing.runs
ensure_printer() {
  local sudo="" name out conf
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  command -v lpstat >/dev/null 2>&1 || { echo "no CUPS client: run scripts/setup.sh" >&2; return 1; }
  (
    flock 9
    mkdir -p -m 1777 "$ORVAND_PRINTING_RUNS"
    touch "$ORVAND_PRINTING_RUNS/$$"
    if [[ "$(LANG=C lpstat -r 2>/dev/null)" != *"is running"* ]]; then
      $sudo setsid cupsd -f </dev/null >/dev/null 2>&1 9>&- &
      echo $! > "$ORVAND_PRINTING_RUNS.cupsd"
      for _ in $(seq 1 50); do [[ "$(LANG=C lpstat -r 2>/dev/null)" == *"is running"* ]] && break; sleep 0.1; done
    fi
  ) 9>>"$ORVAND_PRINTING_RUNS.lock"
  [[ "$(LANG=C lpstat -r 2>/dev/null)" == *"is running"* ]] || { echo "could not start cupsd" >&2; return 1; }
  name=$(run_printer_name)
  out="$WINEPREFIX-pdf"
  conf="/etc/cups/cups-pdf-$name.conf"
  mkdir -p "$out"
  if [ ! -f "$conf" ]; then
    { grep -v '^[[:space:]]*Out[[:space:]]' /etc/cups/cups-pdf.conf 2>/dev/null || true
      echo "Out $out"; } | $sudo tee "$conf" >/dev/null
  fi
  if ! LANG=C lpstat -v "$name" >/dev/null 2>&1; then
    $sudo lpadmin -p "$name" -E -v "cups-pdf:/$name" -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null ||
      { echo "could not add the PDF printer" >&2; return 1; }
  fi
  unset LPDEST
  export PRINTER="$name"
  export ORVAND_PDF_DIR="$out"
}

# The PDF queue of this prefix.
run_printer_name() {
  printf 'Orvand_PDF_%s' "$(printf '%s' "$WINEPREFIX" | cksum | cut -d' ' -f1)"
}

remove_run_printer() {
  local sudo="" name
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  command -v lpstat >/dev/null 2>&1 || return 0
  name=$(run_printer_name)
  if LANG=C lpstat -v "$name" >/dev/null 2>&1; then $sudo lpadmin -x "$name" 2>/dev/null || true; fi
  if [ -e "/etc/cups/cups-pdf-$name.conf" ]; then $sudo rm -f "/etc/cups/cups-pdf-$name.conf"; fi
}

# Stops the scheduler a run started once no run on the machine needs it any more.
release_scheduler() {
  local pid sudo=""
  [ -f "$ORVAND_PRINTING_RUNS/$$" ] || return 0
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  rm -f "$ORVAND_PRINTING_RUNS/$$"
  (
    flock 9
    if [ -z "$(live_runs "$ORVAND_PRINTING_RUNS")" ] && [ -f "$ORVAND_PRINTING_RUNS.cupsd" ]; then
      pid=$(cat "$ORVAND_PRINTING_RUNS.cupsd")
      if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        $sudo kill "$pid" 2>/dev/null || true
        for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      fi
      rm -f "$ORVAND_PRINTING_RUNS.cupsd"
    fi
    rmdir "$ORVAND_PRINTING_RUNS" 2>/dev/null || true
  ) 9>>"$ORVAND_PRINTING_RUNS.lock"
}

# The Windows form of a Unix path (drive Z: is the Unix root).
winepath_of() {
  printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"
}
