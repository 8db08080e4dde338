#!/usr/bin/env bash
# The frame loop's timing in the real window under a virtual X server, at the default pacing:
#  - 24 taps of 12 ms on the title are all seen (each is held at one keyboard read);
#  - a session played through a level's exit sequence, recorded and traced by the simulator,
#    shows every timer within 3 % of its period (scripts/timer-periods.py prints the table);
#  - in full screen, a burst of mouse motion leaves the 30 ms animation at 90 % or more of its
#    runs;
#  - a session on each of the first two listed packs replays in the window (--replay) to the
#    same final state as in the simulator.
# Usage: xvfb_timing_test.sh MARVOLEN MARVOLEN_SIM GAME_FOLDER SOURCE_FOLDER OUTPUT_FOLDER
set -euo pipefail

binary=$1
sim=$2
game=$3
source=$4
out=$5
mkdir -p "$out"
rm -f "$out"/*.replay "$out"/*.log "$out"/*.jsonl

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# shellcheck source=SCRIPTDIR/../../scripts/xvfb.sh
. "$source/scripts/xvfb.sh"
xvfb_require Xvfb xdotool python3 || fail "a tool is missing"
xvfb_game_session
start_xvfb 1280x1024 || fail "no virtual X server"

# The game folder with one more pack: a level whose pillar falls and whose robot then walks
# to the exit, so the effects and the exit sequence run.
data=$work/data
mkdir -p "$data"
for entry in "$game"/*; do ln -s "$entry" "$data/$(basename "$entry")"; done
cp -r "$source/tests/replays/game/replaypack" "$data/"
# Its landscapes are those of the first pack.
for entry in "$game"/mappack1/*; do
  case "$(basename "$entry")" in level*.dat | pref.ini) ;; *) ln -s "$entry" "$data/replaypack/" ;; esac
done

# Starts the game with the given options (in the data folder, no sound, no saved files).
start_game() {
  "$binary" --data "$data" --no-dialog --no-sound --no-save --scale 1 "$@" \
    >"$out/game.out" 2>&1 &
  game_pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1) ||
    fail "no game window"
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  sleep 1
}
# Waits up to 60 s for the game to end.
wait_game() {
  local status=0
  xvfb_wait_exit "$game_pid" 60 || status=$?
  [ "$status" -ne 124 ] || fail "the game did not end"
  [ "$status" -eq 0 ] || fail "the game ended with status $status"
  game_pid=""
}
hold() {  # holds a key as a person does
  xdotool keydown "$1"
  sleep "${2:-0.08}"
  xdotool keyup "$1"
  sleep 0.2
}
wait_log() {
  for _ in $(seq 300); do
    grep -q -- "$1" "$2" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "no \"$1\" in $2"
}
# The runs of consecutive recorded steps holding key code $2 in replay $1.
key_runs() {
  awk -v key="$2" '$1 ~ /^(frame|draw|start)$/ {
    held = 0
    for (i = 3; i <= NF; ++i) if ($i == key) held = 1
    if (held && !was) ++runs
    was = held
  } END { print runs + 0 }' "$1"
}

# --- Taps and timer periods, in a window ---
start_game --windowed --pack replaypack --record "$out/window.replay" --log "$out/window.log"
for _ in $(seq 24); do
  xdotool keydown Left sleep 0.012 keyup Left
  sleep 0.15
done
hold space
wait_log "state StateReady level 1" "$out/window.log"
hold space
xdotool keydown Down
wait_log "state StateRunning level 1" "$out/window.log"
xdotool keyup Down
wait_log "state StateEnding level 99" "$out/window.log"
sleep 1
hold Escape
hold q
wait_log "state StateTitle" "$out/window.log"
hold Escape
wait_game
# The title part of the session: the steps before the first that holds Space.
awk '{ for (i = 3; i <= NF; ++i) if ($i == "39") exit; print }' "$out/window.replay" \
  >"$work/title.replay"
taps=$(key_runs "$work/title.replay" cb)
echo "12 ms taps seen: $taps of 24"
[ "$taps" -eq 24 ] || fail "only $taps of 24 taps of 12 ms were seen"
"$sim" --data "$data" --replay "$out/window.replay" --trace >"$out/window.jsonl" ||
  fail "the simulator could not play the window's recording"
echo "timer periods in the window:"
python3 "$source/scripts/timer-periods.py" "$out/window.replay" "$out/window.jsonl" --within 3 ||
  fail "a timer is more than 3 % off its period"

# --- A mouse storm in full screen ---
start_game --fullscreen --record "$out/storm.replay"
moves=()
for i in $(seq 400); do moves+=(mousemove $((i % 640)) $((i * 7 % 480)) sleep 0.005); done
xdotool "${moves[@]}"
hold Escape
wait_game
"$sim" --data "$data" --replay "$out/storm.replay" --trace >"$out/storm.jsonl" ||
  fail "the simulator could not play the full-screen recording"
echo "timer periods in full screen under a mouse storm:"
python3 "$source/scripts/timer-periods.py" "$out/storm.replay" "$out/storm.jsonl" \
  --only animation --within 11 || fail "the mouse storm cost more than a tenth of the 30 ms runs"

# --- The window's replay agrees with the simulator's, on the first two listed packs ---
for pack in $(grep -v '^\s*$' "$game/mappacks.ini" | head -n 2 | tr -d '\r'); do
  start_game --windowed --pack "$pack" --level 2 --record "$out/$pack.replay"
  hold space
  xdotool keydown Down
  sleep 1.5
  xdotool keyup Down
  hold Left
  sleep 0.5
  hold Escape
  hold q
  sleep 0.5
  hold Escape
  wait_game
  "$binary" --data "$data" --replay "$out/$pack.replay" --log "$out/$pack.log" \
    >"$out/game.out" 2>&1 || fail "marvolen --replay of the $pack session failed"
  window_state=$(sed -n 's/^replay ended //p' "$out/$pack.log")
  sim_state=$("$sim" --data "$data" --replay "$out/$pack.replay")
  [ -n "$window_state" ] || fail "marvolen --replay logged no final state for $pack"
  [ "$window_state" = "$sim_state" ] ||
    fail "the window's replay of the $pack session ended elsewhere than the simulator's"
  echo "the $pack session replays to the same state in the window and the simulator"
done
echo "PASS"
