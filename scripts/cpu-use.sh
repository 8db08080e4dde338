#!/usr/bin/env bash
# Measures how much processor time the real game uses in a window of a virtual X server with
# software OpenGL on a 1920 x 1080 screen: on the title screen, during play (pieces falling,
# then the robot walking) and with its window inactive. Each run is one table row:
#   1, 2, ...   the default frame pacing in a window of that whole scale (--scale N)
#   default     the scale the game picks itself: the largest that fits, 2 on this screen
#   fullscreen  the whole screen (the picture at scale 2 with black bars)
#   uncapped    --uncapped at scale 1: every frame drawn, no wait
# The figure is the process's user plus system time (from /proc) over the measured seconds,
# in percent of one core; it counts the game's own threads (the GL rasteriser's included)
# but not the X server's. A busy machine adds little to a paced game's figure but limits an
# uncapped one, so the uncapped row is only comparable between runs on an idle machine. The
# load average before and after the runs is printed below the table, as it tells how busy
# the machine was.
# Usage: scripts/cpu-use.sh [BUILD_DIR] [SECONDS] [RUN...]
#   (default: build, 6 s per measurement, the runs 1 2 fullscreen uncapped)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-6}
shift $(($# < 2 ? $# : 2))
runs=("$@")
[ ${#runs[@]} -gt 0 ] || runs=(1 2 fullscreen uncapped)
for run in "${runs[@]}"; do
  case $run in
    default | fullscreen | uncapped) ;;
    *[!0-9]* | "") echo "unknown run \"$run\" (a scale, default, fullscreen or uncapped)" >&2; exit 2 ;;
  esac
done
binary=$build/game/marvolen
game=$build/game
[ -x "$binary" ] || { echo "no game at $binary; build first" >&2; exit 1; }
# shellcheck source=SCRIPTDIR/xvfb.sh
. "$root/scripts/xvfb.sh"
xvfb_require Xvfb xdotool xwininfo || exit 1
# Progress and settings of this run stay in the temporary folder.
xvfb_game_session
start_xvfb 1920x1080 || exit 1
export LIBGL_ALWAYS_SOFTWARE=1

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
  # Each run starts as a first start: no scale remembered from the run before.
  rm -rf "$log" "$work/xdg"
  "$binary" --data "$game" --no-dialog --no-save --log "$log" "$@" \
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

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "| run | title | play | inactive |"
echo "|---|---:|---:|---:|"
for run in "${runs[@]}"; do
  case $run in
    default) measure "default scale (paced)" --windowed ;;
    fullscreen) measure "full screen (paced)" --fullscreen ;;
    uncapped) measure "--uncapped, scale 1" --windowed --scale 1 --uncapped ;;
    *) measure "scale $run (paced)" --windowed --scale "$run" ;;
  esac
done
echo
echo "load average (1, 5, 15 min): $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after"
