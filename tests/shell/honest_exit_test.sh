#!/usr/bin/env bash
# Start-up failures end the program with a non-zero status and one line of ours on stderr that
# says what failed and what to try: no display at all, and a settings dialog with no display.
# Usage: honest_exit_test.sh MARVOLEN_BINARY GAME_FOLDER
set -uo pipefail
binary=$1
game=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT

expect_failure() {
  local what=$1 pattern=$2
  shift 2
  local status=0
  timeout 20 "$@" >/dev/null 2>"$out" || status=$?
  if [ "$status" -ne 1 ]; then
    echo "FAIL: $what ended with status $status, not 1" >&2
    cat "$out" >&2
    exit 1
  fi
  if [ "$(grep -c '^marvolen: ' "$out")" -ne 1 ] || ! grep -q -- "$pattern" "$out"; then
    echo "FAIL: $what did not say \"$pattern\" in one line" >&2
    cat "$out" >&2
    exit 1
  fi
  echo "$what: $(grep '^marvolen: ' "$out")"
}

export XDG_CONFIG_HOME=$(mktemp -d) XDG_DATA_HOME=$(mktemp -d)
trap 'rm -rf "$out" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"' EXIT
expect_failure "no display, no dialog" "cannot reach a display.*DISPLAY" \
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$binary" --data "$game" --no-dialog
expect_failure "no display, with the dialog" "cannot reach a display" \
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 "$binary" --data "$game"
