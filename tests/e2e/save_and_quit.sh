#!/usr/bin/env bash
# End to end, as a user: start Orvand 3, open a folder in the directory list, set the mask, numbering,
# header and start position, save the listing through the save dialog, check the file's bytes, then
# leave with "Koniec" answered Yes and see the program end. Every step waits for what it needs to see
# (the window, the dialog, a text, the file), never for a fixed time; places come from the window, so
# the test holds at any DPI.
# Usage: save_and_quit.sh <Orvand.exe> <look.exe> [dpi]
# With a dpi, the test runs in a prefix of that DPI of its own, on a display of its own.
set -euo pipefail
exe=$(realpath "$1")
look_exe=$(realpath "$2")
dpi=${3:-}
source "$(dirname "$0")/../../scripts/env.sh"
if [ -n "$dpi" ]; then
  export WINEPREFIX="$(dirname "$(dirname "$exe")")/wine-${dpi}dpi"
  unset DISPLAY
fi
begin_run
ensure_display
ensure_prefix
if [ -n "$dpi" ]; then
  "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi

source "$(dirname "$0")/e2e_lib.bash"
text_is() { [ "$(look text "Orvand 3" "$1" "$2")" = "$3" ]; }
# Clicks a point of the main window's client area, given at 96 DPI as the window's layout is.
click_at() { local x y; read -r x y < <(look point "Orvand 3" "$1" "$2"); xdotool mousemove "$x" "$y" click 1; }
# Clicks the control that shows the text.
click_on() { local x y; read -r x y < <(look control "Orvand 3" "$1"); xdotool mousemove "$x" "$y" click 1; }
# Types into the edit at a client point once it has the focus, and waits until it shows the text.
replace_text() {
  click_at "$1" "$2"
  wait_for 10 seen focused "Orvand 3" "$1" "$2"
  xdotool key End shift+Home
  xdotool type --delay 40 "$3"
  wait_for 10 text_is "$1" "$2" "$3"
}

user=$("$WINE64" cmd.exe /c echo %USERNAME% 2>/dev/null | tr -d '\r')
desktop="$WINEPREFIX/drive_c/users/$user/Desktop"
folder="$desktop/e2e"
rm -rf "$folder"; mkdir -p "$folder/sub"
for f in a.txt b.txt c.txt x.log; do echo "$f" > "$folder/$f"; done
target="$folder/wynik.txt"
expected=$(mktemp)
printf '\r\nLista plik\xf3w\r\n1 b.txt\r\n2 c.txt\r\n' > "$expected"

(cd "$desktop" && exec "$WINE64" "$exe") &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -f "$expected"; end_run' EXIT
wait_for 30 seen exists "Orvand 3"
if [ -n "$dpi" ]; then echo "window at $dpi DPI: client point 760 469 is at $(look point "Orvand 3" 760 469)"; fi

# Double-click the folder in the directory list (272, 28, 217 x 161); its files appear in the file list.
wait_for 10 seen item "Orvand 3" 300 100 "e2e"
read -r x y < <(look item "Orvand 3" 300 100 "e2e")
xdotool mousemove "$x" "$y" click --repeat 2 --delay 100 1
wait_for 10 seen item "Orvand 3" 300 300 "c.txt"

replace_text 470 212 '*.txt'                              # the mask
wait_for 5 not seen item "Orvand 3" 300 300 x.log
click_on 'tak,oddzielna'
wait_for 5 seen checked "Orvand 3" 'tak,oddzielna'
replace_text 600 232 'Lista plików'                       # the header
replace_text 530 336 '1'                                  # start at the second item
click_on 'Zapisz obraz katalogu w pliku'
wait_for 15 seen dialog -
xdotool type --delay 20 "$(winepath_of "$folder")\\wynik"
xdotool key Return
if ! wait_for 15 cmp -s "$expected" "$target"; then
  echo "the saved file differs:"; xxd "$target" | head -20; echo "expected:"; xxd "$expected"
  exit 1
fi
echo "saved listing: $(xxd -p "$target" | tr -d '\n')"

wait_for 10 not seen dialog -
click_on 'Koniec'
wait_for 10 seen dialog -
xdotool key Return                                        # "Tak" (Yes) is the default button
if ! wait_for 10 not kill -0 $pid; then echo "the program did not end after Yes"; exit 1; fi
rm -rf "$folder"
echo "e2e${dpi:+ at $dpi DPI}: 1 passed, 0 failed"
