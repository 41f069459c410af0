#!/usr/bin/env bash
# End to end, as a user: start Orvand 3, open a folder in the directory list, set the mask, numbering,
# header and start position, save the listing through the save dialog, check the file's bytes, then
# leave with "Koniec" answered Yes and see the program end.
# Usage: save_and_quit.sh <Orvand.exe> <look.exe>
set -euo pipefail
exe=$(realpath "$1")
look_exe=$(realpath "$2")
source "$(dirname "$0")/../../scripts/env.sh"
ensure_display
ensure_prefix

look() { "$WINE64" "$look_exe" "$@" 2>/dev/null | tr -d '\r'; }
wait_for() {  # wait_for <seconds> <command...>
  local limit=$1; shift
  for _ in $(seq 1 $((limit * 10))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "timed out waiting for: $*" >&2; return 1
}
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
# Clicks a point of the main window's client area, given at 96 DPI as the window's layout is.
click_at() { click $((ox + $1)) $((oy + $2)); }
replace_text() { xdotool key End shift+Home; sleep 0.1; xdotool type --delay 60 "$1"; sleep 0.3; }

user=$("$WINE64" cmd.exe /c echo %USERNAME% 2>/dev/null | tr -d '\r')
desktop="$WINEPREFIX/drive_c/users/$user/Desktop"
folder="$desktop/e2e"
rm -rf "$folder"; mkdir -p "$folder/sub"
for f in a.txt b.txt c.txt x.log; do echo "$f" > "$folder/$f"; done
target="$folder/wynik.txt"

(cd "$desktop" && exec "$WINE64" "$exe") &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
wait_for 30 look exists "Orvand 3"
read -r ox oy < <(look origin "Orvand 3")

# Double-click the folder in the directory list (272, 28, 217 x 161); its files appear in the file list.
read -r x y < <(look item "Orvand 3" 300 100 "e2e")
xdotool mousemove "$x" "$y" click --repeat 2 --delay 100 1
wait_for 10 look item "Orvand 3" 300 300 "c.txt"

click_at 470 212 && replace_text '*.txt'                 # the mask
wait_for 5 bash -c "! \"$WINE64\" \"$look_exe\" item 'Orvand 3' 300 300 x.log"
click_at 656 184                                          # "tak,oddzielna"
click_at 600 232 && replace_text 'Lista plików'           # the header
click_at 530 336 && replace_text '1'                      # start at the second item
click_at 656 427                                          # "Zapisz obraz katalogu w pliku"
wait_for 15 look dialog -
sleep 1
xdotool type --delay 40 "$(winepath_of "$folder")\\wynik"
xdotool key Return
wait_for 10 test -f "$target"
sleep 1

expected=$(mktemp)
printf '\r\nLista plik\xf3w\r\n1 b.txt\r\n2 c.txt\r\n' > "$expected"
if ! cmp -s "$expected" "$target"; then
  echo "the saved file differs:"; xxd "$target" | head -20; echo "expected:"; xxd "$expected"
  exit 1
fi
echo "saved listing: $(xxd -p "$target" | tr -d '\n')"

click_at 656 451                                          # "Koniec"
wait_for 10 look dialog -
sleep 0.5
xdotool key Return                                        # "Tak" (Yes) is the default button
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "the program did not end after Yes"; exit 1; fi
trap - EXIT
rm -rf "$folder" "$expected"
echo "e2e: 1 passed, 0 failed"
