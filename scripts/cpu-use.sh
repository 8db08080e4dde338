#!/usr/bin/env bash
# Measures how much processor time the real game uses in a window of a virtual X server with
# software OpenGL: on the title screen, during play (pieces falling, then the robot walking)
# and with its window inactive, once with the default frame pacing and once with --uncapped.
# The figure is the process's user plus system time (from /proc) over the measured seconds,
# in percent of one core; it counts the game's own threads (the GL rasteriser's included)
# but not the X server's. A busy machine adds little to a paced game's figure but limits an
# uncapped one, so the uncapped row is only comparable between runs on an idle machine.
# Usage: scripts/cpu-use.sh [BUILD_DIR] [SECONDS]   (default: build, 6 s per measurement)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-6}
binary=$build/game/marvolen
game=$build/game
[ -x "$binary" ] || { echo "no game at $binary; build first" >&2; exit 1; }
for tool in Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup-deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
game_pid=""
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi
  rm -rf "$work"
}
# shellcheck source=SCRIPTDIR/xvfb.sh
. "$root/scripts/xvfb.sh"
xvfb_at_exit cleanup
start_xvfb 1280x960 || exit 1
export LIBGL_ALWAYS_SOFTWARE=1
# Progress and settings of this run stay in the temporary folder.
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config

log=$work/state.log

wait_log() {
  for _ in $(seq 300); do
    grep -q -- "$1" "$log" 2>/dev/null && return 0
    kill -0 "$game_pid" 2>/dev/null || { echo "the game ended" >&2; exit 1; }
    sleep 0.1
  done
  echo "no \"$1\" in the state log" >&2
  exit 1
}

key() {
  for k in "$@"; do
    xdotool keydown "$k"
    sleep 0.15
    xdotool keyup "$k"
    sleep 0.15
  done
}

# Processor time of the game over $seconds, in percent of one core (one decimal).
cpu_share() {
  local hz before after start end
  hz=$(getconf CLK_TCK)
  start=$(date +%s.%N)
  before=$(awk '{print $14 + $15}' "/proc/$game_pid/stat")
  sleep "$seconds"
  after=$(awk '{print $14 + $15}' "/proc/$game_pid/stat")
  end=$(date +%s.%N)
  awk -v t="$((after - before))" -v hz="$hz" -v s="$start" -v e="$end" \
    'BEGIN { printf "%.1f", t * 100 / hz / (e - s) }'
}

# One run: title, play, inactive. Prints a table row.
measure() {
  local label=$1
  shift
  rm -f "$log"
  "$binary" --data "$game" --no-dialog --windowed --scale 1 --no-save --log "$log" "$@" \
    >"$work/game.out" 2>&1 &
  game_pid=$!
  wait_log "state StateTitle"
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 1
  local title play idle
  title=$(cpu_share)
  key space
  wait_log "state StateReady level 1"
  key space
  sleep 1
  play=$(cpu_share)
  xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
  sleep 1
  idle=$(cpu_share)
  printf '| %s | %s %% | %s %% | %s %% |\n' "$label" "$title" "$play" "$idle"
  kill "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
}

echo "| run | title | play | inactive |"
echo "|---|---:|---:|---:|"
measure "default (paced)"
measure "--uncapped" --uncapped
