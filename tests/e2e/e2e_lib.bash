# Sourced by the end-to-end scripts after they set look_exe (it is no test itself): asking the
# program's windows through look, and waiting for what a step needs to see instead of for a fixed time.
look() { "$WINE64" "$look_exe" "$@" 2>/dev/null | tr -d '\r'; }
seen() { "$WINE64" "$look_exe" "$@" >/dev/null 2>&1; }
wait_for() {  # wait_for <seconds> <command...>
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 10))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "timed out waiting for: $*" >&2; return 1
}
not() { ! "$@"; }
fail() { echo "e2e: $*" >&2; exit 1; }
