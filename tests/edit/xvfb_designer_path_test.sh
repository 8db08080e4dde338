#!/usr/bin/env bash
# A designer's whole path in the editor's real window, in a virtual X server driven as a person
# drives it (keys held, clicks on cells and fields): a new level painted from nothing (a floor
# with a pit the robot cannot cross, a pillar to fill it, the robot and the exit), named and
# hinted, proven, play-tested (the pillar steered into the pit) and back with the result,
# exported twice into a new pack in the player's packs folder, reordered in the pack manager,
# and the pack written as one file. Then a player with an empty data folder installs that file
# with marvolen --install-pack and plays the pack to the win. Each step leaves a screenshot in
# the output folder.
# Usage: xvfb_designer_path_test.sh MARVOLEN_EDIT MARVOLEN OUTPUT_FOLDER
set -euo pipefail

editor=$1
game=$2
out=$3
mkdir -p "$out"
rm -rf "${out:?}"/*
log="$out/edit.log"
work="$out/work"
mkdir -p "$work" "$out/config"
export XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/designer-data"
players="$XDG_DATA_HOME/marvolen-dx/packs"
pack_name=mypack
level_name="Pit stop"

# shellcheck source=SCRIPTDIR/editor_window.sh
. "$(dirname "${BASH_SOURCE[0]}")/editor_window.sh"
start_editor_xvfb 1600x1000
game_pid=""
stop_game() { if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi; }
xvfb_at_exit stop_game

# Keys as a person presses them: each held 60 ms.
hold() {
  local k
  for k in "$@"; do
    xdotool keydown "$k"
    sleep 0.06
    xdotool keyup "$k"
    sleep 0.2
  done
}
type_text() { xdotool type --delay 50 "$1"; }
# click BUTTON X Y: a press of 0.1 s at a point of the screen.
click() {
  xdotool mousemove "$2" "$3"
  sleep 0.15
  xdotool mousedown "$1"
  sleep 0.1
  xdotool mouseup "$1"
  sleep 0.25
}
# The screen point of a cell, and of an item the editor's log places in its window.
place() { awk -v x="$X" -v y="$Y" '{ print x + $1, y + $2 }' <<<"$(last "place $1" 3)"; }
# brush NAME: the palette's search narrowed to NAME and its first entry taken. The search's
# old text goes by BackSpace from its end.
brush() {
  # shellcheck disable=SC2046
  click 1 $(place search)
  hold End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  type_text "$1"
  sleep 0.3
  mark
  # shellcheck disable=SC2046
  click 1 $(place first-brush)
  wait_new "^brush $1"
}
# word KEY TEXT: the level's name, idea or hint field, empty until then, typed in and taken
# with Enter.
word() {
  mark
  # shellcheck disable=SC2046
  click 1 $(place "$1")
  type_text "$2"
  hold Return
  wait_new '^revision [0-9]* dirty'
}
focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.3
}
# play: the level's one piece, a pillar, steered five columns right into the pit and dropped.
play() {
  hold Right Right Right Right Right
  hold Down
}

# 1. A new level, from nothing.
open_editor "$work"
sleep 0.3
wait_for_line "$log" '^canvas ' "$editor_pid" 30 >/dev/null || fail "no canvas"
eval "$(xdotool getwindowgeometry --shell "$window")"
read -r canvas_x canvas_y zoom _ <<<"$(last canvas)"
data_dir=$(last data)
mark
hold ctrl+n
wait_new '^message new level$'
shot 01-new-level

# 2. The level painted: a floor across row 10 with a pit four deep at column 20 and its bottom,
# the robot at the left and the exit beyond the pit; one pillar to fill the pit.
drag_cells 1 10 0 10 33
drag_cells 3 10 20 13 20
drag_cells 1 14 20 14 20
brush robot
drag_cells 1 9 2 9 2
brush exit
drag_cells 1 9 28 9 28
mark
# shellcheck disable=SC2046
click 1 $(place +pillar)
wait_new '^proof [0-9]*: winnable' 60
echo "proof: $(last proof)"
shot 02-painted-and-proven

# 3. Its words, and the source saved.
word name "$level_name"
word hint "Steer the pillar into the pit."
wait_new '^proof [0-9]*: winnable' 60
mark
hold ctrl+s
wait_new '^prompt Save as'
type_text pitstop
hold Return
wait_new "^message saved $work/pitstop.src$"
grep -q "^name $level_name$" "$work/pitstop.src" || fail "the saved source has no name line"
# Ctrl+A in a side-panel field selects its whole text, so typing replaces it: with the chord
# held as a person holds it, and as a 12 ms tap whose release comes before the editor reads it.
# rename SECONDS TEXT: the name field's text replaced after Ctrl+A held SECONDS, then saved.
rename() {
  mark
  # shellcheck disable=SC2046
  click 1 $(place name)
  xdotool keydown ctrl keydown a
  sleep "$1"
  xdotool keyup a keyup ctrl
  sleep 0.2
  type_text "$2"
  hold Return
  wait_new '^revision [0-9]* dirty'
  mark
  hold ctrl+s
  wait_new '^revision [0-9]* clean'  # the same "saved" message again is not logged anew
  grep -q "^name $2$" "$work/pitstop.src" ||
    fail "Ctrl+A held $1 s did not select the name: $(grep '^name ' "$work/pitstop.src")"
}
rename 0.06 Draft
rename 0.012 "$level_name"
shot 03-named-and-saved

# 4. The play-test: the game opens on the level, the pillar goes into the pit, the robot wins,
# and the editor says so.
mark
hold F5
wait_new '^message play-test running'
play_window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1) ||
  fail "the play-test started no game window"
focus "$play_window"
sleep 0.7
shot 04-play-test-ready
hold Return
sleep 0.6
play
wait_new '^message play-test: won in [0-9]* steps$' 60
echo "play-test: $(last message)"
focus "$window"
shot 05-play-test-won

# 5. Into a new pack among the player's packs: exported, then a second level (the same with an
# idea) after it.
mark
hold ctrl+e
wait_new '^prompt Export '
hold Return
wait_new "^message exported as level 1 of $players/$pack_name$"
word idea "A pit one pillar deep, beyond the straight drop."
wait_new '^proof [0-9]*: winnable' 60
mark
hold ctrl+e
sleep 0.5  # the log tells a prompt's size only when it changes: the same prompt again says nothing
hold Return
wait_new "^message exported as level 2 of $players/$pack_name$"
shot 06-exported-twice
[ "$(sed -n 2p "$players/$pack_name/pref.ini")" = 2 ] || fail "the pack does not count two levels"

# 6. The pack reordered in the pack manager (Ctrl+P): its first level moved down, so the level
# with the idea comes first.
mark
hold ctrl+p
wait_new "^pack $players/$pack_name 2 levels$"
sleep 0.5
mark
# shellcheck disable=SC2046
click 1 $(place pack-down)
wait_new '^message level 1 moved down$'
grep -q '^idea ' "$players/$pack_name/level01.src" || fail "the reorder did not move level 2 first"
shot 07-reordered
hold ctrl+p

# 7. The pack as one file, named after its folder, in the folder the editor works in.
mark
hold ctrl+shift+e
wait_new "^prompt Export pack as one file $players/$pack_name$"
sleep 0.5
shot 08-export-pack-prompt
hold Return
wait_new "^message pack written as $work/$pack_name.mdxpack$"
echo "pack file: $(stat -c %s "$work/$pack_name.mdxpack") bytes"
shot 09-pack-file-written
# The editor's import takes the same file, and refuses it: the designer already has that pack.
mark
hold ctrl+shift+i
wait_new '^prompt Import pack file'
type_text "$pack_name.mdxpack"
hold Return
wait_new "^message $work/$pack_name.mdxpack: not installed: "
echo "import in the editor: $(last message)"
mark
hold ctrl+s
wait_new "^revision [0-9]* clean"
hold ctrl+q
xvfb_wait_exit "$editor_pid" 10 || fail "the editor did not close (status $?)"
editor_pid=""

# 8. A player with nothing installed: the file installs, and the game plays the pack.
export XDG_DATA_HOME="$out/player-data" XDG_CONFIG_HOME="$out/player-config"
"$game" --data "$data_dir" --install-pack "$work/$pack_name.mdxpack" >"$out/install.out" 2>&1 ||
  fail "the install failed: $(cat "$out/install.out")"
echo "install: $(cat "$out/install.out")"
grep -q '^idea ' "$XDG_DATA_HOME/marvolen-dx/packs/$pack_name/level01.src" ||
  fail "the installed pack does not have the reordered level first"
game_log="$out/game.log"
"$game" --data "$data_dir" --pack "$pack_name" --no-dialog --windowed --no-save \
  --log "$game_log" >"$out/game.out" 2>&1 &
game_pid=$!
play_window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1) ||
  fail "the game showed no window"
focus "$play_window"
wait_game() { wait_for_line "$game_log" "$1" "$game_pid" "${2:-30}" >/dev/null || fail "see above"; }
wait_game '^state StateTitle'
hold space
wait_game '^state StateReady level 1$'
sleep 0.7
shot 10-installed-pack-ready
hold space
wait_game '^state StateDropping level 1$'
play
wait_game '^state StateReady level 2$' 60
sleep 0.7
shot 11-installed-pack-level-2
hold space
wait_game '^state StateDropping level 2$'
play
wait_game '^state StateEnding' 60
shot 12-installed-pack-won
echo "the installed pack was played to its end; screenshots in $out"
