#!/usr/bin/env bash
# End to end, as a user: the folder tree's shell context menu, through the real menu. A right click on a
# folder that is not selected opens that folder's menu and leaves the selection, the lists and the current
# directory alone; its rename command edits the name in place (a new name renames the folder, Escape
# leaves everything as it was and does not ask to leave); the folder the views show can be renamed too;
# delete (confirmed) takes the folder's node away; open leaves the current directory as it was; Shift+F10
# and the menu key open the menu at the selected folder.
# Wine's item menus have no paste command: paste is checked by the shell tree tests through the tree's hook.
# Usage: shell_menu.sh <Orvand.exe> <look.exe>
set -euo pipefail
exe=$(realpath "$1")
look_exe=$(realpath "$2")
source "$(dirname "$0")/../../scripts/env.sh"
begin_run
ensure_display
ensure_prefix

source "$(dirname "$0")/e2e_lib.bash"
W="Orvand 3"
# Client points inside the tree, the directory list and the file list.
tree=(50 100); dirs=(300 100); files=(300 300)
node_at() { look node "$W" "${tree[@]}" "$1"; }
selected() { look selected "$W" "${tree[@]}"; }
editing() { look editing "$W" "${tree[@]}"; }
no_menu() { ! look menu - >/dev/null; }
no_editor() { ! editing >/dev/null; }
no_dialog() { ! look dialog -; }
no_node() { ! node_at "$1" >/dev/null; }
is_selected() { [ "$(selected)" = "$1" ]; }
cwd_is() { [ "$(look cwd "$W")" = "$1" ]; }
gone() { [ ! -e "$1" ]; }
editing_is() { [ "$(editing)" = "$1" ]; }
# What the user sees of the three views, and the program's current directory.
views() {
  echo "selected: $(selected)"; echo "folders:"; look list "$W" "${dirs[@]}"
  echo "files:"; look list "$W" "${files[@]}"; echo "current directory: $(look cwd "$W")"
}
right_click() {  # right_click <node text>: opens its menu
  local x y
  read -r x y < <(node_at "$1") || fail "no node $1 in view"
  xdotool mousemove "$x" "$y" click 3
  wait_for 5 look menu - || fail "no menu for $1"
  sleep 0.3
}
double_click_item() {  # in the directory list
  local x y
  read -r x y < <(look item "$W" "${dirs[@]}" "$1") || fail "no $1 in the directory list"
  xdotool mousemove "$x" "$y" click --repeat 2 --delay 100 1
}
# What the test deleted went to the user's trash (Wine's is the XDG one), under its name or a name made
# unique: it goes again, found by where it came from.
trash="${XDG_DATA_HOME:-$HOME/.local/share}/Trash"
forget_trashed() {
  local info name
  for info in "$trash"/info/*.trashinfo; do
    [ -f "$info" ] && grep -q '^Path=.*/Desktop/e2e_menu/' "$info" || continue
    name=$(basename "$info" .trashinfo)
    rm -rf "${trash:?}/files/$name" "$info"
  done
}
# Wine's Polish menu: "&Otwórz", "&Usuń", "Z&mień nazwę".
key_open=o; key_delete=u; key_rename=m

desktop="$WINEPREFIX/drive_c/users/$("$WINE64" cmd.exe /c echo %USERNAME% 2>/dev/null | tr -d '\r')/Desktop"
top="$desktop/e2e_menu"
doomed="doomed_$$"
rm -rf "$top"; mkdir -p "$top/alpha" "$top/beta" "$top/gamma/inner" "$top/$doomed"
echo a > "$top/alpha/a.txt"; echo b > "$top/alpha/b.txt"
win_top="C:\\users\\$(basename "$(dirname "$desktop")")\\Desktop\\e2e_menu"

(cd "$desktop" && exec "$WINE64" "$exe") &
pid=$!
trap 'kill $pid 2>/dev/null || true; forget_trashed; end_run' EXIT
wait_for 30 look exists "$W"

# Into the test folder and its "alpha" through the directory list: the tree follows, opening the way.
wait_for 10 look item "$W" "${dirs[@]}" e2e_menu
double_click_item e2e_menu
wait_for 10 look item "$W" "${dirs[@]}" alpha
double_click_item alpha
wait_for 10 is_selected alpha
wait_for 10 node_at beta
before=$(views)
cwd_is "$win_top\\alpha" || fail "unexpected start: $before"
grep -q "^a.txt$" <<<"$before" || fail "alpha's files are not listed: $before"

# 1. A right click on "beta": its menu, and nothing else moves.
right_click beta
[ "$(views)" = "$before" ] || fail "the views moved on a right click: $(views)"
echo "right click on beta: menu at $(look menu -), views unchanged"

# 2. Its rename command edits beta's name in place; a new name renames the folder.
xdotool key "$key_rename"
wait_for 5 editing_is beta || fail "no label editor on beta after the rename command: '$(editing)'"
[ -d "$top/beta" ] || fail "the shell renamed the folder itself"
xdotool type --delay 60 beta2; xdotool key Return
wait_for 5 test -d "$top/beta2" || fail "beta was not renamed"
[ ! -e "$top/beta" ] || fail "beta is still there"
wait_for 5 node_at beta2 || fail "the node does not show the new name"
[ "$(views)" = "$before" ] || fail "the views moved on renaming another folder: $(views)"
echo "rename through the menu: beta -> beta2 on disk and in the tree"

# 3. Escape in the editor cancels the edit: no rename, and no question whether to leave.
right_click beta2
xdotool key "$key_rename"
wait_for 5 editing_is beta2 || fail "no label editor on beta2"
xdotool type --delay 60 zzz; xdotool key Escape
wait_for 5 no_editor || fail "Escape did not close the editor"
sleep 1
no_dialog || fail "a dialog showed after Escape in the editor"
[ -d "$top/beta2" ] && [ ! -e "$top/zzz" ] || fail "Escape renamed the folder"
node_at beta2 >/dev/null || fail "the label changed after Escape"
kill -0 $pid || fail "the program ended"
echo "Escape in the editor: nothing renamed, no question"

# 4. The folder the views show (and the current directory) can be renamed: the views follow.
right_click alpha
xdotool key "$key_rename"
wait_for 5 editing_is alpha || fail "no label editor on alpha"
xdotool type --delay 60 alpha2; xdotool key Return
wait_for 5 test -d "$top/alpha2" || fail "the selected folder was not renamed: $(look dialog - && echo 'a message shows')"
wait_for 5 cwd_is "$win_top\\alpha2" || fail "current directory: $(look cwd "$W")"
wait_for 5 look item "$W" "${dirs[@]}" alpha2 || fail "the directory list does not show alpha2"
[ "$(selected)" = alpha2 ] || fail "the selection is on $(selected)"
look list "$W" "${files[@]}" | grep -qx a.txt || fail "the file list lost alpha's files"
before=$(views)
echo "rename of the selected folder: views and current directory on alpha2"

# 5. Delete, confirmed: the folder goes to the trash and its node goes.
right_click "$doomed"
xdotool key "$key_delete"
wait_for 5 look dialog - || fail "no confirmation"
sleep 0.5
xdotool key Return  # "Tak"
wait_for 10 gone "$top/$doomed" || fail "the folder was not deleted"
wait_for 5 no_node "$doomed" || fail "its node stayed"
[ "$(views)" = "$before" ] || fail "the views moved on a delete: $(views)"
forget_trashed
echo "delete through the menu: folder and node gone"

# 5b. The folder the views show (the current directory) can be deleted too: the views move to its parent.
read -r x y < <(node_at beta2)
xdotool mousemove "$x" "$y" click 1
wait_for 5 is_selected beta2 || fail "beta2 was not selected"
wait_for 5 cwd_is "$win_top\\beta2" || fail "current directory: $(look cwd "$W")"
right_click beta2
xdotool key "$key_delete"
wait_for 5 look dialog - || fail "no confirmation"
sleep 0.5
xdotool key Return  # "Tak"
wait_for 10 gone "$top/beta2" || fail "the selected folder was not deleted: $(look dialog - && echo 'a message shows')"
wait_for 5 is_selected e2e_menu || fail "the selection is on $(selected)"
wait_for 5 cwd_is "$win_top" || fail "current directory: $(look cwd "$W")"
wait_for 5 look item "$W" "${dirs[@]}" alpha2 || fail "the directory list does not show the parent folder: $(views)"
forget_trashed
echo "delete of the selected folder: views and current directory on its parent"
# Back into alpha2 for the rest.
double_click_item alpha2
wait_for 10 is_selected alpha2
wait_for 5 cwd_is "$win_top\\alpha2"
sleep 0.5
before=$(views)

# 6. Open: the shell runs it from gamma's parent folder (this Wine has no program for folders and says
#    so); afterwards the current directory is where the views put it.
right_click gamma
xdotool key "$key_open"
if wait_for 5 look dialog -; then
  echo "during the open command: current directory $(look cwd "$W")"
  sleep 0.5; xdotool key Return
fi
wait_for 5 no_dialog
sleep 0.5
[ "$(views)" = "$before" ] || fail "the views or the current directory changed after open: $(views)"
echo "open through the menu: current directory as before ($(look cwd "$W"))"

# 7. The keyboard: Shift+F10 and the menu key open the menu at the selected folder.
read -r sx sy < <(node_at alpha2)
for key in shift+F10 Menu; do
  xdotool key "$key"
  wait_for 5 look menu - || fail "no menu on $key"
  read -r mx my < <(look menu -)
  [ $((my - sy)) -ge 0 ] && [ $((my - sy)) -le 20 ] && [ $((mx - sx)) -le 0 ] && [ $((sx - mx)) -le 120 ] ||
    fail "the menu of $key is at $mx $my, the selected node at $sx $sy"
  xdotool key Escape
  wait_for 5 no_menu
  echo "$key: menu at $mx $my below the selected node at $sx $sy"
done
[ "$(views)" = "$before" ] || fail "the views moved: $(views)"

# Escape outside the editor still asks whether to leave; "Tak" ends the program.
xdotool key Escape
wait_for 5 look dialog - || fail "Escape did not ask to leave"
sleep 0.5
xdotool key Return
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then fail "the program did not end after Yes"; fi
trap end_run EXIT
rm -rf "$top"
echo "e2e: shell menu passed"
