# Sourced by the end-to-end scripts after they set look_exe (it is no test itself): asking the
# program's windows through look, and waiting for what a step needs to see instead of for a fixed time.
look() { "$WINE64" "$look_exe" "$@" 2>/dev/null | tr -d '\r'; }
seen() { "$WINE64" "$look_exe" "$@" >/dev/null 2>&1; }
# The limit is what a step takes on a quiet machine; a wait allows three times that in wall-clock time.
# Each look is a Wine process of its own, seconds long on a busy machine: counting tries instead let a few
# failing waits outlast the test's own time-out before saying what failed.
wait_for() {  # wait_for <seconds> <command...>
  local end=$((SECONDS + 3 * $1)); shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$end" ] || { echo "timed out waiting for: $*" >&2; return 1; }
    sleep 0.1
  done
}
not() { ! "$@"; }
fail() { echo "e2e: $*" >&2; exit 1; }
