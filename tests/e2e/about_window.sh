#!/usr/bin/env bash
# End to end, as a user: start Orvand 3, click the team label "Zespół Orvand": the about window appears,
# centred, 317 x 175, with the clock already current and ticking; "Zamknij okno" hides it; the version
# label shows it again, the clock still current. A screenshot of the card goes to build/e2e/about.png.
# Every step waits for what it needs to see; places come from the windows.
# Usage: about_window.sh <Orvand.exe> <look.exe>
set -euo pipefail
exe=$(realpath "$1")
look_exe=$(realpath "$2")
source "$(dirname "$0")/../../scripts/env.sh"
begin_run
ensure_display
ensure_prefix

source "$(dirname "$0")/e2e_lib.bash"
# Clicks the control that shows the text (ASCII: the arguments reach look in the ANSI code page), in the
# main window or ("+Orvand 3") the about window.
click_on() { local x y; read -r x y < <(look control "$1" "$2"); xdotool mousemove "$x" "$y" click 1; }
# Clicks a client point of the main window, given at 96 DPI.
click_at() { local x y; read -r x y < <(look point "Orvand 3" "$1" "$2"); xdotool mousemove "$x" "$y" click 1; }
label2_is() { [ "$(look text "Orvand 3" 590 94)" = "Zespół Orvand" ]; }
clock() { look text "+Orvand 3" 260 132; }
# Seconds since midnight of a clock text hh:mm:ss.
seconds() { local h m s; IFS=: read -r h m s <<< "$1"; echo $((10#$h * 3600 + 10#$m * 60 + 10#$s)); }
# The clock shows the local time (Wine's is the system's), at most 2 s behind, and never 00:00:00.
check_clock() {
  local shown now diff
  shown=$(clock)
  [[ "$shown" =~ ^[0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] || fail "the clock shows '$shown'"
  [ "$shown" != "00:00:00" ] || fail "the clock shows 00:00:00"
  now=$(date +%H:%M:%S)
  diff=$(( ($(seconds "$now") - $(seconds "$shown") + 86400) % 86400 ))
  [ "$diff" -le 2 ] || fail "the clock shows $shown at $now"
  echo "$shown"
}
centre_of() { local l t r b; read -r l t r b < <(look frame "$1"); echo "$(( (l + r) / 2 )) $(( (t + b) / 2 ))"; }
clock_is_not() { [ "$(clock)" != "$1" ]; }

(cd "$ROOT" && exec "$WINE64" "$exe") &
pid=$!
trap 'kill $pid 2>/dev/null || true; end_run' EXIT
wait_for 30 seen exists "Orvand 3"
wait_for 10 label2_is
seen exists "+Orvand 3" && fail "an about window is shown at start"

click_at 590 94                                           # "Zespół Orvand"
wait_for 10 seen exists "+Orvand 3" || fail "the about window did not appear"
wait_for 10 seen control "+Orvand 3" "Zamknij okno"
size=$(look size "+Orvand 3")
[ "$size" = "317 175" ] || fail "client area $size"
read -r mx my < <(centre_of "Orvand 3")
read -r ax ay < <(centre_of "+Orvand 3")
if [ $((ax - mx)) -gt 2 ] || [ $((mx - ax)) -gt 2 ] || [ $((ay - my)) -gt 2 ] || [ $((my - ay)) -gt 2 ]; then
  fail "the about window is not centred: $ax,$ay (the centred main window: $mx,$my)"
fi
first=$(check_clock)
wait_for 2 clock_is_not "$first" || fail "the clock stayed at $first for 2 s"
mkdir -p "$ROOT/build/e2e"
import -window root "$ROOT/build/e2e/about.png"
echo "about window: $size, centred at $ax,$ay, clock $first, then $(clock)"

click_on "+Orvand 3" "Zamknij okno"
wait_for 10 not seen exists "+Orvand 3" || fail "Zamknij okno did not hide the window"

sleep 1.5                                                 # the clock goes on while it is hidden
click_on "Orvand 3" "v 3.03"
wait_for 10 seen exists "+Orvand 3" || fail "the version label did not show the window again"
wait_for 10 seen control "+Orvand 3" "Zamknij okno"
echo "shown again: clock $(check_clock)"
click_on "+Orvand 3" "Zamknij okno"
wait_for 10 not seen exists "+Orvand 3" || fail "Zamknij okno did not hide the window the second time"

click_on "Orvand 3" 'Koniec'
wait_for 10 seen dialog -
xdotool key Return                                        # "Tak" (Yes) is the default button
wait_for 10 not kill -0 $pid || fail "the program did not end after Yes"
echo "e2e: 1 passed, 0 failed"
