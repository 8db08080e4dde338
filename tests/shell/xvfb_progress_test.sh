#!/usr/bin/env bash
# Saved progress across two runs of the real game in a virtual X server, with its data and
# settings folders in a temporary folder: the first run wins level 1 (the solver's presses:
# Right six times, then drop) and the record becomes level 2; the second run's title offers
# LEVEL 02, and START GAME begins there. The settings of the first run (--no-sound given on
# its command line) are saved without that option. A key given on the keys page is saved.
# Usage: xvfb_progress_test.sh MARVOLEN_BINARY GAME_FOLDER OUTPUT_FOLDER
set -euo pipefail
binary=$1
game=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png

# shellcheck source=SCRIPTDIR/../../scripts/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
xvfb_game_session
log=$work/state.log
fail() {
  echo "FAIL: $*" >&2
  cat "$log" >&2 2>/dev/null || true
  exit 1
}
start_xvfb 1280x960 || fail "no virtual X server"
progress=$XDG_DATA_HOME/marvolen-dx/progress.txt

wait_log() { wait_for_line "$log" "$1" "$game_pid" "$2" >/dev/null || fail "see above"; }
key() { press_keys "$@"; }
start() {
  rm -f "$log"
  "$binary" --data "$game" --no-dialog --windowed --scale 1 --log "$log" "$@" \
    >"$work/game.out" 2>&1 &
  game_pid=$!
  wait_log "state StateTitle" 30
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 0.5
}
stop() {
  kill "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
}

start --no-sound
[ ! -e "$progress" ] || fail "a progress file before any level was won"
key space
wait_log "state StateReady level 1" 10
key space
wait_log "state StateDropping level 1" 10
key Right Right Right Right Right Right Down
wait_log "state StateReady level 2" 60
[ "$(cat "$progress")" = "mappack1=2" ] || fail "progress file holds \"$(cat "$progress")\""
grep -q '^sound=' "$XDG_CONFIG_HOME/marvolen-dx/settings.ini" &&
  fail "--no-sound of the command line was saved"
stop

start
sleep 0.5
import -window root "$out/title-with-level-choice.png"
key space
wait_log "state StateReady level 2" 10
stop

# The keys page: K on the title, Down twice to the left command, Enter, then A tapped for
# 12 ms: saved in the settings at once. Escape closes the page, and the next start reads the
# saved key without a note.
settings=$XDG_CONFIG_HOME/marvolen-dx/settings.ini
start
key k Down Down Return
xdotool keydown a
sleep 0.012
xdotool keyup a
sleep 0.3
import -window root "$out/keys-page.png"
grep -qx 'key.left=A' "$settings" || fail "the keys page did not save key.left=A"
key Escape space
wait_log "state StateReady level 2" 10
stop
start
grep -q 'key' "$work/game.out" && fail "notes about the saved keys: $(cat "$work/game.out")"
stop
echo "progress and keys carried across runs; screenshots in $out"
