#!/usr/bin/env bash
# Measures how long the game process lives on after its window has gone, in the real window
# under a virtual X server: the game starts on the title (no dialog), then it is left once with
# Escape (the game closes its window) and once with a quit request from outside (SIGTERM, which
# takes the same way out as the window's close box). For each run it prints the milliseconds
# from the window vanishing to the end of the process, and the exit status.
# Usage: scripts/exit-latency.sh MARVOLEN_BINARY GAME_FOLDER [RUNS]
set -euo pipefail

binary=$1
game=$2
runs=${3:-3}
for tool in Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (see scripts/setup-deps.sh)" >&2; exit 1; }
done

display_file=$(mktemp)
log=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
game_pid=""
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill -9 "$game_pid"; fi
  kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$display_file" "$log"
}
trap cleanup EXIT
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
export DISPLAY=":$(head -n 1 "$display_file")"
# The dummy audio driver unless told otherwise; SDL_AUDIODRIVER= (empty) tries SDL's own choice.
if [ -n "${SDL_AUDIODRIVER-dummy}" ]; then export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}; else unset SDL_AUDIODRIVER; fi
export SDL_VIDEODRIVER=x11
export MDX_NO_MESSAGE_BOXES=1

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Starts the game and waits for its title screen; prints the window id.
start_game() {
  : >"$log"
  "$binary" --data "$game" --no-dialog --windowed --scale 1 --log "$log" >/dev/null 2>&1 &
  game_pid=$!
  for _ in $(seq 300); do
    grep -q "state StateTitle" "$log" 2>/dev/null && break
    sleep 0.1
  done
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 0.5
}

# Waits for the window to vanish and the process to end; prints the times from the quit
# action ($asked) to the window's end and from there to the process's end.
measure() {
  local how=$1 gone ended status=0
  while xwininfo -id "$window" 2>/dev/null | grep -q "IsViewable"; do sleep 0.002; done
  gone=$(now_ms)
  while kill -0 "$game_pid" 2>/dev/null; do sleep 0.002; done
  ended=$(now_ms)
  wait "$game_pid" || status=$?
  game_pid=""
  echo "$how: window gone $((gone - asked)) ms after the request, process ended" \
    "$((ended - gone)) ms after its window (status $status)"
}

for run in $(seq "$runs"); do
  start_game
  xdotool keydown Escape
  sleep 0.05
  asked=$(now_ms)
  xdotool keyup Escape
  measure "Escape on the title, run $run"
  start_game
  asked=$(now_ms)
  kill -TERM "$game_pid"
  measure "quit request, run $run"
done
