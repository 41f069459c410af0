#!/usr/bin/env bash
# Times what the user waits for, each figure against its baseline measured in the same run, the two
# alternating; prints one line per row, the best of the rounds:
#   <name>: <figure> ms; baseline <figure> ms; ratio <figure/baseline>
# and, after file-list-1m (a million files, read into the file list), its peak working set:
#   file-list-1m-memory: <MB> MB; baseline <MB> MB   (a bare loop keeping the names)
# The medians and every round go to stderr. The folders are made from Linux directly, once, under
# build/bench/data; the runs use a Wine prefix of their own (build/bench/wine) whose desktop folder is
# pointed at the folder a start is timed in.
#   ORVAND_BENCH_QUICK=1      folders ten times smaller, for a quick look
#   ORVAND_BENCH_ROUNDS=n     rounds per row (3)
#   ORVAND_BENCH_ROWS="a b"   only these rows
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
rounds=${ORVAND_BENCH_ROUNDS:-3}
div=1
[ "${ORVAND_BENCH_QUICK:-0}" = 1 ] && div=10
all_rows="start-big mask-typing tree-select tree-expand save-100k long-names start-small file-list-100k dir-list-10k file-list-1m"
rows=${ORVAND_BENCH_ROWS:-$all_rows}

bash "$ROOT/scripts/setup.sh"
bash "$ROOT/scripts/build.sh" win Orvand bench_start_and_type bench_minimal_window bench_folder_reads \
  bench_tree_rows bench_save_rows >&2
export WINEPREFIX="$ROOT/build/bench/wine"
source "$ROOT/scripts/env.sh"
begin_run
ensure_display
ensure_prefix

bin="$ROOT/build/win"
data="$ROOT/build/bench/data"
bash "$ROOT/bench/make_folders.sh" "$data" "$div"
files=$((100000 / div))
big="$data/files_$files"
long="$data/long_$files"
dirs="$data/dirs_$((10000 / div))"
tree="$data/tree_$((3000 / div))"
million="$data/million_$((1000000 / div))"
small="$data/small"
txt=$((files / 10))

user=$("$WINE64" cmd.exe /c echo %USERNAME% 2>/dev/null | tr -d '\r')
desktop="$WINEPREFIX/drive_c/users/$user/Desktop"
point_desktop() {  # the prefix's desktop folder becomes this folder
  if [ -d "$desktop" ] && [ ! -L "$desktop" ]; then rmdir "$desktop"; fi
  ln -sfn "$1" "$desktop"
}

win() { winepath_of "$1"; }
# Runs a Windows program in a folder and prints its `value <key> <ms>` lines as `<key> <ms>`.
run() {  # run <folder> <exe> <args...>
  local folder=$1; shift
  # Wine's note on every volume query of the Unix root (drive Z:) says nothing about the figures.
  (cd "$folder" && "$WINE64" "$@" </dev/null 2> >(grep -v 'Read access denied for device' >&2)) |
    tr -d '\r' | sed -n 's/^value //p'
}
value() { LC_ALL=C awk -v k="$1" '$1 == k { print $2 }'; }  # value <key> < lines

declare -A fig base
note() { fig[$1]+="$2 "; base[$1]+="$3 "; }  # note <row> <figure> <baseline>

report() {  # report <row>
  local row=$1
  LC_ALL=C awk -v row="$row" -v f="${fig[$row]}" -v b="${base[$row]}" 'function sort(a, n,   i, j, t) {
      for (i = 2; i <= n; i++) for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t } }
    function median(a, n) { return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
    BEGIN {
      n = split(f, F, " "); m = split(b, B, " ")
      if (n == 0 || m == 0) { printf "%s: no figures\n", row; exit }
      sort(F, n); sort(B, m)
      printf "%s: %.1f ms; baseline %.1f ms; ratio %.2f\n", row, F[1], B[1], F[1] / B[1]
      printf "  %s: median %.1f ms, baseline median %.1f ms (ratio %.2f); figures %s; baselines %s\n", \
        row, median(F, n), median(B, m), median(F, n) / median(B, m), f, b > "/dev/stderr"
    }'
}

start_ms() {  # start_ms <exe> <folder> [lists]
  run "$2" "$bin/bench_start_and_type.exe" start "$1" "$(win "$2")" ${3:-} | value start
}

for row in $rows; do
  case $row in
  start-big)
    for _ in $(seq "$rounds"); do
      point_desktop "$small"
      s=$(start_ms "$bin/Orvand.exe" "$small" lists)
      r=$(run "$small" "$bin/bench_folder_reads.exe" read "$(win "$big")" | value read)
      point_desktop "$big"
      f=$(start_ms "$bin/Orvand.exe" "$big" lists)
      note "$row" "$f" "$(LC_ALL=C awk -v a="$s" -v b="$r" 'BEGIN { print a + b }')"
    done ;;
  start-small)
    point_desktop "$small"
    for _ in $(seq "$rounds"); do
      b=$(start_ms "$bin/bench_minimal_window.exe" "$small")
      f=$(start_ms "$bin/Orvand.exe" "$small" lists)
      note "$row" "$f" "$b"
    done ;;
  mask-typing)
    # From the last key to the final list: keys all at once and keys 150 ms apart; the slower counts.
    point_desktop "$big"
    for _ in $(seq "$rounds"); do
      b=$(run "$small" "$bin/bench_folder_reads.exe" read "$(win "$big")" | value read)
      out=$(run "$big" "$bin/bench_start_and_type.exe" type "$bin/Orvand.exe" "$(win "$big")" '*.txt' "$txt" 0 150)
      echo "  mask-typing: keys at once $(echo "$out" | value type-0) ms, 150 ms apart $(echo "$out" | value type-150) ms" >&2
      f=$(echo "$out" | LC_ALL=C awk '{ if ($2 > m) m = $2 } END { print m }')
      note "$row" "$f" "$b"
    done ;;
  tree-select | tree-expand)
    point_desktop "$small"
    mode=${row#tree-}
    folder=$tree; [ "$mode" = expand ] && folder=$dirs
    out=$(run "$small" "$bin/bench_tree_rows.exe" "$mode" "$(win "$folder")" "$rounds")
    fig[$row]=$(echo "$out" | value figure | tr '\n' ' ')
    base[$row]=$(echo "$out" | value baseline | tr '\n' ' ')
    [ "$mode" = expand ] && echo "  tree-expand: paint alone $(echo "$out" | value paint | tr '\n' ' ')ms" >&2 ;;
  save-100k)
    point_desktop "$small"
    out=$(run "$small" "$bin/bench_save_rows.exe" "$(win "$big")" "$(win "$ROOT/build/bench/out")" "$rounds")
    fig[$row]=$(echo "$out" | value figure | tr '\n' ' ')
    base[$row]=$(echo "$out" | value baseline | tr '\n' ' ') ;;
  long-names | file-list-100k | dir-list-10k | file-list-1m)
    point_desktop "$small"
    case $row in
    long-names) args=(files "$long") ;;
    file-list-100k) args=(files "$big") ;;
    dir-list-10k) args=(dirs "$dirs") ;;
    file-list-1m) args=(files "$million") ;;
    esac
    out=$(run "$small" "$bin/bench_folder_reads.exe" "${args[0]}" "$(win "${args[1]}")" "$rounds")
    fig[$row]=$(echo "$out" | value figure | tr '\n' ' ')
    base[$row]=$(echo "$out" | value baseline | tr '\n' ' ') ;;
  *)
    echo "unknown row $row" >&2; exit 2 ;;
  esac
  report "$row"
  if [ "$row" = file-list-1m ]; then
    # Peak working set of a process that read the folder into the file list, against one that kept the
    # names of a bare loop.
    m=$(run "$small" "$bin/bench_folder_reads.exe" memory "$(win "$million")" | value peak)
    b=$(run "$small" "$bin/bench_folder_reads.exe" bare-memory "$(win "$million")" | value peak)
    echo "file-list-1m-memory: ${m:-?} MB; baseline ${b:-?} MB"
  fi
done
point_desktop "$small"
