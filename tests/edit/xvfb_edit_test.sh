#!/usr/bin/env bash
# The level editor's real window in a virtual X server, driven with xdotool: opens a copy of a
# shipped level, paints a cell with a left click, erases one with a right click, undoes the
# erase, saves and checks the saved level; then undoes the paint, saves again and checks the
# file is the shipped one byte for byte; starts a play-test of the level; answers the
# unsaved-changes prompt with Escape, then with Tab and Enter (Discard); at the next starts
# recovers a newer autosave (Enter), then discards one (Tab, Enter); selects, copies, pastes,
# undoes a paste and moves the selection, and checks the saved level. Screenshots of the
# canvas, the proof status, the path preview, the play-test and the prompt are saved; the
# processor use of the idle editor is printed.
# Usage: xvfb_edit_test.sh MARVOLEN_EDIT MARVOLEN_LEVEL LEVEL_SOURCE OUTPUT_FOLDER
set -euo pipefail

editor=$1
leveltool=$2
source=$3
out=$4
mkdir -p "$out"
rm -f "$out"/*.png "$out"/edit.log "$out"/editor.out "$out"/*.dat
log="$out/edit.log"
work="$out/work.src"
cp "$source" "$work"
rm -f "$work.autosave"

# shellcheck source=SCRIPTDIR/editor_window.sh
. "$(dirname "${BASH_SOURCE[0]}")/editor_window.sh"
export XDG_CONFIG_HOME="$out/config"  # the recent files stay in the test folder
export XDG_DATA_HOME="$out/data"      # and so do the packs an export makes
start_editor_xvfb 1700x1100

# Starts the editor on the work file.
start_editor() { open_editor . "$work"; }
# Waits up to five seconds for the editor to end by itself with status 0; fails with $1 (and
# the status, 124 when it still runs) otherwise.
wait_editor_end() {
  xvfb_wait_exit "$editor_pid" 5 || fail "$1 (status $?)"
  editor_pid=""
}

start_editor
read -r _ canvas_x canvas_y zoom _ <<<"$(wait_log '^canvas ')"
eval "$(xdotool getwindowgeometry --shell "$window")"

# Clicks button $1 on the cell at row $2, column $3 of the canvas.
click_cell() {
  local px py
  read -r px py <<<"$(cell_point "$2" "$3")"
  xdotool mousemove "$px" "$py"
  sleep 0.2
  xdotool mousedown "$1"
  sleep 0.15
  xdotool mouseup "$1"
  sleep 0.3
}
key() {
  xdotool key --clearmodifiers "$1"
  sleep 0.4
}
# The level file the level tool builds from a source: compared line by line.
built() { "$leveltool" build "$1" "$2" || fail "cannot build $1"; }

wait_log '^proof [0-9]*: winnable' 60 >/dev/null
shot 01-canvas-and-proof

click_cell 1 5 5        # paint the brush (block 1) into an empty cell
drag_cells 1 4 22 3 20  # fill rows 3 and 4, columns 20 to 22
click_cell 1 0 3        # row 0, above the game's picture, in its own strip
click_cell 3 10 0       # erase the block at row 10, column 0
wait_log '^proof 7: ' 60 >/dev/null
shot 02-painted-and-erased
key ctrl+z         # the erase comes back
key ctrl+z
key ctrl+y         # and the row-0 block, undone and redone, stays
key ctrl+s
wait_log '^message saved ' >/dev/null
built "$source" "$out/shipped.dat"
built "$work" "$out/saved.dat"
changed=$(diff "$out/shipped.dat" "$out/saved.dat" | grep -c '^>' || true)
[ "$changed" -eq 8 ] || fail "the saved level differs in $changed lines, not 8"
for cell in "0 3" "5 5" "3 20" "3 21" "3 22" "4 20" "4 21" "4 22"; do
  read -r row column <<<"$cell"
  [ "$(sed -n "$((2 + 34 * row + column))p" "$out/saved.dat")" = "1" ] ||
    fail "the painted cell at row $row, column $column was not saved"
done

# Closing over unsaved changes asks first.
key ctrl+z         # the row-0 block goes
key ctrl+z         # the fill goes
key ctrl+q
wait_log '^prompt unsaved changes' >/dev/null
shot 03-unsaved-prompt
kill -0 "$editor_pid" 2>/dev/null || fail "the editor closed over unsaved changes"
key ctrl+z         # the paint goes too: the level is the shipped one again
key ctrl+s
for _ in $(seq 100); do
  cmp -s "$source" "$work" && break
  sleep 0.1
done
cmp -s "$source" "$work" || fail "the level saved after undoing every edit is not the shipped source"

key p
wait_log '^preview on' >/dev/null
sleep 0.3
shot 04-path-preview

# F5 starts the real game on the edited level and the editor waits for it to end.
key F5
wait_log '^message play-test running' >/dev/null
game=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1) ||
  fail "the play-test started no game window"
sleep 1.5
shot 05-play-test
game_pid=$(pgrep -P "$editor_pid" | head -n 1)
[ -n "$game_pid" ] || fail "the game is not the editor's child"
kill "$game_pid"
wait_log '^message play-test: closed before the level ended' >/dev/null
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"

# An idle editor sleeps in its event loop.
hz=$(getconf CLK_TCK)
before=$(awk '{print $14 + $15}' "/proc/$editor_pid/stat")
sleep 3
after=$(awk '{print $14 + $15}' "/proc/$editor_pid/stat")
idle=$(((after - before) * 100 / (hz * 3)))
echo "processor use of the idle editor: ${idle}%"
[ "$idle" -le 5 ] || fail "the idle editor uses ${idle}% of a core"

# Painting while the robot's path is shown paints, and hides the path of the level before.
# The unsaved-changes prompt from the keyboard: Escape closes it (the canvas takes clicks
# again), Tab moves from Save to Discard and Enter takes it: the editor closes, nothing saved.
grep '^preview' "$log" | tail -n 1 | grep -q 'on' || fail "the path preview went off by itself"
revision=$(grep '^revision' "$log" | tail -n 1 | cut -d' ' -f2)
click_cell 1 6 6
wait_log "^revision $((revision + 1)) dirty" >/dev/null
wait_log '^preview off' >/dev/null
key ctrl+q
wait_log "^prompt unsaved changes $((revision + 1))" >/dev/null
key Escape
click_cell 1 6 7
wait_log "^revision $((revision + 2)) dirty" >/dev/null
key ctrl+q
wait_log "^prompt unsaved changes $((revision + 2))" >/dev/null
key Tab
shot 06-unsaved-prompt-on-discard
key Return
wait_editor_end "Tab and Enter in the unsaved-changes prompt did not discard"
cmp -s "$source" "$work" || fail "discarding the changes saved them"

# A session that ended without saving left an autosave newer than the file (block 1 at row 2,
# column 4): the next start offers it. Enter recovers it, unsaved; Ctrl+S saves it and the
# autosave goes.
write_autosave() {
  sed '17s/^\.\.\.\.\./....g/' "$source" >"$work.autosave"
  touch -d '1 minute ago' "$work"
}
write_autosave
start_editor
wait_log "^prompt Recover $work\$" >/dev/null
sleep 0.3
shot 07-recover-prompt
press_keys Return
wait_log "^message recovered the autosave of $work\$" >/dev/null
wait_log '^revision [0-9]* dirty' >/dev/null
press_keys ctrl+s
wait_log "^message saved $work\$" >/dev/null
built "$work" "$out/recovered.dat"
[ "$(sed -n "$((2 + 34 * 2 + 4))p" "$out/recovered.dat")" = "1" ] ||
  fail "the saved level is not the recovered one"
[ ! -e "$work.autosave" ] || fail "the autosave is still there after the save"
press_keys ctrl+q
wait_editor_end "the editor did not close after the recovered level was saved"

# Tab and Enter discard the next one: the autosave is deleted and the file left as it was.
cp "$source" "$work"
write_autosave
start_editor
wait_log "^prompt Recover $work\$" >/dev/null
press_keys Tab Return
wait_log "^message discarded the autosave of $work\$" >/dev/null
[ ! -e "$work.autosave" ] || fail "the discarded autosave is still there"
cmp -s "$source" "$work" || fail "discarding the autosave changed the file"
press_keys ctrl+q
wait_editor_end "the editor did not close after the autosave was discarded"

# The region tools: S and a drag select row 10, columns 0 to 3 (block 8); Ctrl+C copies them;
# Ctrl+V pastes them at the cell under the mouse, twice; Ctrl+Z takes the second paste back.
# Then a drag from inside the selection (the first paste) moves it two rows down. The saved
# level differs from the shipped one in those four cells only.
start_editor
read -r _ canvas_x canvas_y zoom _ <<<"$(wait_log '^canvas ')"
eval "$(xdotool getwindowgeometry --shell "$window")"
wait_log '^proof [0-9]*: winnable' 60 >/dev/null
press_keys s
wait_log '^tool Select' >/dev/null
drag_cells 1 10 0 10 3
wait_log '^selection 1 x 4 cells at row 10, column 0$' >/dev/null
press_keys ctrl+c
wait_log '^message copied 1 x 4 cells at row 10, column 0$' >/dev/null
paste_at() {
  # shellcheck disable=SC2046
  xdotool mousemove $(cell_point "$1" "$2")
  sleep 0.2
  press_keys ctrl+v
  wait_log "^message pasted 1 x 4 cells at row $1, column $2\$" >/dev/null
}
paste_at 5 10
paste_at 3 20
shot 08-pasted-twice
press_keys ctrl+z
drag_cells 1 3 21 5 21  # the selection, at row 3 after the second paste, is empty now
wait_log '^selection 1 x 4 cells at row 5, column 20$' >/dev/null
drag_cells 1 5 10 5 13
wait_log '^selection 1 x 4 cells at row 5, column 10$' >/dev/null
drag_cells 1 5 11 7 11
wait_log '^selection 1 x 4 cells at row 7, column 10$' >/dev/null
shot 09-moved
press_keys ctrl+s
wait_log "^message saved $work\$" >/dev/null
built "$work" "$out/regions.dat"
changed=$(diff "$out/shipped.dat" "$out/regions.dat" | grep -c '^>' || true)
[ "$changed" -eq 4 ] || fail "the level after the region tools differs in $changed lines, not 4"
for column in 10 11 12 13; do
  [ "$(sed -n "$((2 + 34 * 7 + column))p" "$out/regions.dat")" = "8" ] ||
    fail "the moved cell at row 7, column $column is not block 8"
done
press_keys ctrl+q
wait_editor_end "the editor did not close after the region tools"
echo "screenshots in $out"
