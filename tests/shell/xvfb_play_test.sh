#!/usr/bin/env bash
# Plays the real game in a virtual X server: the settings dialog, Enter, the title, Space,
# level 1, pieces steered and dropped, the robot's walk, the quit prompt, Escape. Keys go in
# through XTEST (xdotool); progress is read from the game's --log file; a screenshot of every
# stage is saved. Also prints the processor use of a playing and of an inactive game.
# Usage: xvfb_play_test.sh MARVOLEN_BINARY GAME_FOLDER OUTPUT_FOLDER
set -euo pipefail

binary=$1
game=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png "$out"/state.log "$out"/game.out
log="$out/state.log"

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${game_pid:-}" ] && ! kill -0 "$game_pid" 2>/dev/null; then
    local status=0
    wait "$game_pid" 2>/dev/null || status=$?
    echo "the game had ended with status $status" >&2
  fi
  echo "--- state log ---" >&2
  cat "$log" >&2 2>/dev/null || true
  echo "--- game output ---" >&2
  tail -n 30 "$out/game.out" >&2 2>/dev/null || true
  exit 1
}

[ -f "$game/mappacks.ini" ] || fail "the game folder $game has no mappacks.ini"

# A virtual X server on a free display number.
# shellcheck source=SCRIPTDIR/../../scripts/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
xvfb_require Xvfb xdotool import xwininfo || fail "a tool is missing"
# Saved progress and settings of these runs stay in a temporary folder, and none of the
# player's own can change what the test sees.
xvfb_game_session
start_xvfb 1280x1024 || fail "no virtual X server"
# In a sanitizer build, memory errors still abort the game, but the leak check at exit is off
# here: the X server's GL driver keeps small allocations with stacks that cannot be traced
# back to a library. The game's own leaks are checked by the headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

shot() { screenshot "$out/$1.png"; }

# Waits up to $2 seconds (default 30) until the state log holds at least $3 (default 1)
# lines matching $1.
wait_log() {
  wait_for_line "$log" "$1" "$game_pid" "${2:-30}" "${3:-1}" >/dev/null || fail "see above"
}

# Finds the visible window called "Marvolen DX" and gives it the keyboard.
focus_window() {
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1) ||
    fail "no \"Marvolen DX\" window appeared"
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.3
  echo "$id"
}

# Presses and releases each key in turn, holding it long enough for a frame to see it down:
# a key pressed and released between two keyboard polls is not seen at all.
key() { press_keys "$@"; }

# Processor use of the game over $1 seconds, in percent of one core.
cpu_percent() {
  local hz before after
  hz=$(getconf CLK_TCK)
  before=$(awk '{print $14 + $15}' "/proc/$game_pid/stat") || fail "the game is gone"
  sleep "$1"
  after=$(awk '{print $14 + $15}' "/proc/$game_pid/stat") || fail "the game ended while measured"
  echo $(((after - before) * 100 / (hz * $1)))
}

"$binary" --data "$game" --log "$log" --scale 1 >"$out/game.out" 2>&1 &
game_pid=$!

# The settings dialog: Enter presses Play.
dialog=$(focus_window)
shot 01-dialog
key Return
wait_log "state StateTitle"

window=$(focus_window)
[ "$window" != "$dialog" ] || fail "the dialog window did not close"
sleep 0.5
shot 02-title

# Alt+Enter switches the display mode there and back; its Enter must not confirm the menu.
for _ in 1 2; do
  xdotool keydown alt keydown Return
  sleep 0.2
  xdotool keyup Return keyup alt
  sleep 0.5
done
[ "$(grep -c "state" "$log")" -eq 1 ] || fail "Alt+Enter acted as Enter on the title screen"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended after Alt+Enter"

key space
wait_log "state StateReady level 1"
sleep 0.5
shot 03-level1-ready

key space
# Space leaves the ready sign; a level with pieces goes on to dropping them in the same frame.
wait_log "state StateRunning level 1"
sleep 0.5
if grep -q "state StateDropping level 1" "$log"; then
  shot 04-dropping
  key Left Left Left
  sleep 0.3
  shot 05-steered
  key Right
  # Each Down release drops the falling piece fast; keep dropping until all have landed.
  for _ in $(seq 60); do
    [ "$(grep -c "state StateRunning level 1" "$log")" -ge 2 ] && break
    key Down
    sleep 0.4
  done
  wait_log "state StateRunning level 1" 5 2
else
  echo "level 1 has no pieces: the robot starts at once"
fi
shot 06-robot-walks
playing=$(cpu_percent 5) || fail "the game ended while it was playing"
echo "processor use while playing: ${playing}%"
sleep 1
shot 07-robot-later
if cmp -s "$out/06-robot-walks.png" "$out/07-robot-later.png"; then
  fail "the picture did not change while the robot walked"
fi

# Another window takes the focus: the game stops and must sleep.
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
xdotool windowfocus "$root"
sleep 0.5
idle=$(cpu_percent 5) || fail "the game ended while it was inactive"
echo "processor use while inactive: ${idle}%"
[ "$idle" -le 5 ] || fail "an inactive game uses ${idle}% of a core"

# Back to the game: the quit prompt, then Q to the title, then Escape to quit.
window=$(focus_window)
key Escape
sleep 0.5
shot 08-quit-prompt
key q
wait_log "state StateTitle" 10 2
shot 09-back-at-title
key Escape
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "Escape on the title did not end the game"
wait "$game_pid" || fail "the game ended with status $?"
game_pid=""
play_log=$(cat "$log")

# Esc in the settings dialog leaves without opening the game window.
"$binary" --data "$game" --log "$log" --scale 1 >"$out/game.out" 2>&1 &
game_pid=$!
focus_window >/dev/null
key Escape
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "Esc in the dialog did not end the program"
wait "$game_pid" || fail "leaving the dialog ended with status $?"
game_pid=""
[ ! -s "$log" ] || fail "the game started although the dialog was left with Esc"

echo "--- state log ---"
echo "$play_log"
echo "screenshots in $out"
