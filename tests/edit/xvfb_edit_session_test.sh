#!/usr/bin/env bash
# The editor as a designer meets it on a 1600 x 900 screen, in a virtual X server driven with
# xdotool: the whole grid shows without scrolling and the status bar names the cell under the
# mouse with no button held; the export prompt (Ctrl+E) shows at its size from its first frame;
# while a prompt is open the canvas's keys do nothing; the file prompt opens with its text
# selected (typing replaces it), takes "gap" for gap.src, and knows Ctrl+A, Home and End; F1
# lists the keys; a play-test of a level the robot wins alone ends with the game and the editor
# says "won in N steps" and has the keyboard back; a refused export's message goes at the next
# edit. Screenshots land in the output folder.
# Usage: xvfb_edit_session_test.sh MARVOLEN_EDIT SHIPPED_SOURCE OUTPUT_FOLDER
set -euo pipefail

editor=$1
shipped=$2
out=$3
mkdir -p "$out"
rm -rf "${out:?}"/*
log="$out/edit.log"
work="$out/work"
mkdir -p "$work" "$out/config"
cp "$shipped" "$work/level.src"

# A level the robot wins alone: no pieces, a floor, the exit four cells to its right.
{
  grep -E '^(landscapeChoice|parallax1On|parallax2Mode|levelMusic|landscapeMotion) ' "$shipped"
  echo "char block g 1"
  for layer in blocks devices; do
    echo "$layer"
    for row in $(seq 0 27); do
      line=$(printf '%34s' '' | tr ' ' '.')
      [ "$layer/$row" = blocks/9 ] && line="..@${line:3}"
      [ "$layer/$row" = blocks/10 ] && line=$(printf '%34s' '' | tr ' ' 'g')
      [ "$layer/$row" = devices/9 ] && line="......E${line:7}"
      echo "$line"
    done
  done
} >"$work/gap.src"

export XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data"
# shellcheck source=SCRIPTDIR/editor_window.sh
. "$(dirname "${BASH_SOURCE[0]}")/editor_window.sh"
start_editor_xvfb 1600x900
key() {
  press_keys "$@"
  sleep 0.3
}

open_editor "$work" level.src
wait_log '^proof [0-9]*: winnable' 60 >/dev/null
eval "$(xdotool getwindowgeometry --shell "$window")"
# shellcheck disable=SC2153  # WIDTH and HEIGHT come from the eval above
echo "editor window: ${WIDTH}x${HEIGHT}"
[ "$HEIGHT" -le 900 ] || fail "the window is taller than the screen: $HEIGHT"

# The whole grid shows at the zoom chosen for the window: nothing to scroll.
read -r canvas_x canvas_y zoom scroll_x scroll_y <<<"$(last canvas)"
echo "zoom to fit 1600x900: $zoom"
[ "$scroll_x $scroll_y" = "0 0" ] || fail "the grid needs scrolling at zoom $zoom: $scroll_x $scroll_y"
awk -v z="$zoom" 'BEGIN { exit !(z >= 1) }' || fail "the fitted zoom $zoom is below 1"

# The cell readout follows the mouse with no button held, row 1 whole at its top edge.
# shellcheck disable=SC2046
xdotool mousemove $(cell_point 1 5)
wait_log '^cell row 1, column 5' >/dev/null
# shellcheck disable=SC2046
xdotool mousemove $(cell_point 27 33)
wait_log '^cell row 27, column 33' >/dev/null
shot 01-whole-grid

# The export prompt from the keyboard, the mouse left alone: one size, logged as it shows.
key ctrl+e
wait_log '^prompt Export ' >/dev/null
sleep 0.5
shot 02-export-first-frame
sizes=$(grep -c '^prompt Export ' "$log")
read -r width height <<<"$(last 'prompt Export' | cut -d' ' -f2 | tr x ' ')"
echo "export prompt: ${width}x${height}, shown at $sizes size(s)"
[ "$sizes" -eq 1 ] || fail "the export prompt changed its size after it showed"
if [ "$height" -lt 100 ] || [ "$height" -gt 300 ]; then
  fail "the export prompt is ${height} pixels tall"
fi
# While it is open, P and I are the prompt's (the focus on a button, not in the text).
previews=$(grep -c '^preview' "$log")
key Tab p i
[ "$(grep -c '^preview' "$log")" -eq "$previews" ] || fail "P reached the canvas under the prompt"
key Escape

# The file prompt: the current name selected, so typing replaces it; "gap" opens gap.src.
mark
key ctrl+o
wait_new "^prompt Open $work/level.src$"
shot 03-open-prompt
xdotool type --delay 60 gap
mark
key Return
wait_new "^message opened $work/gap.src$"
# Home goes to the text's start, End to its end; Ctrl+A selects it all again.
key ctrl+o
key Home
xdotool type --delay 60 "nowhere/"
mark
key Return
wait_new "^message .*nowhere$work/gap.src"
key ctrl+o
mark
key End BackSpace BackSpace BackSpace BackSpace Return  # ".src" off: still gap.src
wait_new "^message opened $work/gap.src$"
key ctrl+o
key ctrl+a
xdotool type --delay 60 level
mark
key Return
wait_new "^message opened $work/level.src$"
mark
key ctrl+o
wait_new "^prompt Open $work/level.src$"
shot 04-open-prompt-lists
key Escape
grep -Fxq "$work/gap.src" "$out/config/marvolen-dx/editor-recent" ||
  fail "the opened file is not among the recent files"

# F1: the keys, from the table --help prints.
mark
key F1
wait_new '^prompt keys '
sleep 0.3
shot 05-keys
key F1

# A play-test ends with the level: won, the game closed, the keyboard back in the editor.
key ctrl+o ctrl+a
xdotool type --delay 60 gap
mark
key Return
wait_new "^message opened $work/gap.src$"
mark
key F5
wait_new '^message play-test running'
game=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1) ||
  fail "the play-test started no game window"
xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"
sleep 1
key Return  # the level starts
wait_new '^message play-test: won in [0-9]* steps$' 60
echo "play-test: $(last message)"
sleep 0.5
shot 06-play-test-result
# A 12 ms tap of F1, no focus given back by hand: the editor has the keyboard again.
mark
xdotool keydown F1
sleep 0.012
xdotool keyup F1
wait_new '^prompt keys '
key Escape

# The export of a level won by straight drops is refused; the refusal goes at the next edit.
mark
key ctrl+e Return
wait_new '^message export refused'
shot 07-export-refused
mark
# shellcheck disable=SC2046
xdotool mousemove $(cell_point 3 3)
sleep 0.2
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
wait_new '^revision [0-9]* dirty'
wait_new '^message $'
key ctrl+z

key ctrl+q
xvfb_wait_exit "$editor_pid" 10 || fail "the editor did not close (status $?)"
editor_pid=""
echo "screenshots in $out"
