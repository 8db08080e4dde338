# shellcheck shell=bash
# A virtual X server for the scripts that run the real game or editor window. Sourced, not run:
#
#   . scripts/xvfb.sh
#   xvfb_at_exit cleanup          # optional: the script's own clean-up, run before Xvfb stops
#   start_xvfb 1280x960 || fail "Xvfb did not start"
#
# start_xvfb starts Xvfb on a free display number (it names the number through -displayfd),
# waits until the server is ready, exports DISPLAY and the environment the game and the editor
# run with there (the x11 video driver, no sound device unless one is named, no message boxes),
# and stops the server when the script exits. It owns the script's EXIT trap: add clean-up
# with xvfb_at_exit, not with another trap.

xvfb_pid=""
xvfb_display_file=""
xvfb_exit_hooks=()

# Runs command (a function or program name) when the script exits, before the X server stops,
# so the programs shown in it end first. Hooks run in the order they were added.
xvfb_at_exit() {
  xvfb_exit_hooks+=("$1")
}

xvfb_on_exit() {
  local hook
  for hook in "${xvfb_exit_hooks[@]}"; do
    "$hook" || true
  done
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [ -z "$xvfb_display_file" ] || rm -f "$xvfb_display_file"
}

# xvfb_require TOOL...: returns 1 with a line on stderr naming the first tool that is missing.
xvfb_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || {
      echo "$tool is missing (see scripts/setup-deps.sh)" >&2
      return 1
    }
  done
}

# xvfb_game_session: a temporary work folder for one run of the game ($work), with the game's
# progress and settings kept below it ($work/xdg), and game_pid, which the script sets to the
# game it starts. At exit the game still running is stopped, before the X server, and the work
# folder is removed.
xvfb_game_session() {
  work=$(mktemp -d)
  game_pid=""
  export XDG_DATA_HOME=$work/xdg/data XDG_CONFIG_HOME=$work/xdg/config
  xvfb_at_exit xvfb_end_game_session
}

xvfb_end_game_session() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi
  rm -rf "$work"
}

# start_xvfb WIDTHxHEIGHT: a 24-bit screen of that size. Returns 1 with a line on stderr when
# Xvfb is missing or has not named its display within ten seconds.
start_xvfb() {
  local size=$1
  command -v Xvfb >/dev/null || {
    echo "Xvfb is missing (see scripts/setup-deps.sh)" >&2
    return 1
  }
  trap xvfb_on_exit EXIT
  xvfb_display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$xvfb_display_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$xvfb_display_file" ] && break
    sleep 0.1
  done
  [ -s "$xvfb_display_file" ] || {
    echo "Xvfb did not start" >&2
    return 1
  }
  DISPLAY=":$(head -n 1 "$xvfb_display_file")"
  export DISPLAY
  export SDL_VIDEODRIVER=x11
  export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
  export MDX_NO_MESSAGE_BOXES=1
}

# xvfb_wait_exit PID SECONDS: waits up to SECONDS for the program PID to end and returns its
# exit status; 124 (as timeout(1) does) when it is still running.
xvfb_wait_exit() {
  local pid=$1 limit=$2
  for _ in $(seq $((limit * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && return 124
  wait "$pid"
}

# The helpers the window tests share, for driving a window as a person does and following the
# program through its log.

# press_keys KEY...: presses each key (an xdotool key name or chord) as a person does, holding it
# 0.1 s and pausing 0.15 s after letting go.
press_keys() {
  local k
  for k in "$@"; do
    xdotool keydown "$k"
    sleep 0.1
    xdotool keyup "$k"
    sleep 0.15
  done
}

# editor_cell_point X Y ORIGIN_X ORIGIN_Y ZOOM ROW COLUMN: the screen point in the middle of a
# cell of the editor's grid, for a window at (X, Y) whose log says "canvas ORIGIN_X ORIGIN_Y
# ZOOM ..." (the grid's top-left corner in the window, and its zoom).
editor_cell_point() {
  awk -v x="$1" -v y="$2" -v ox="$3" -v oy="$4" -v zoom="$5" -v row="$6" -v column="$7" \
    'BEGIN { printf "%d %d\n", x + ox + (19 * column + 9.5) * zoom, y + oy + (19 * row + 9.5) * zoom }'
}

# screenshot FILE: the whole screen into FILE (PNG); a line on stderr when that fails.
screenshot() {
  import -window root "$1" 2>/dev/null || echo "screenshot $1 failed" >&2
}

# wait_for_line LOG PATTERN PID SECONDS [COUNT]: waits until LOG holds at least COUNT (default 1)
# lines matching PATTERN and prints the last of them. Returns 1 with the reason on stderr when
# the program PID ends first or SECONDS pass.
wait_for_line() {
  local log=$1 pattern=$2 pid=$3 limit=$4 count=${5:-1} found
  for _ in $(seq $((limit * 10))); do
    # A log not yet written counts no lines.
    found=$(grep -c -- "$pattern" "$log" 2>/dev/null) || true
    if [ "${found:-0}" -ge "$count" ]; then
      grep -- "$pattern" "$log" | tail -n 1
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || {
      echo "the program ended while waiting for \"$pattern\"" >&2
      return 1
    }
    sleep 0.1
  done
  echo "no \"$pattern\" ($count times) in $log after ${limit}s" >&2
  return 1
}
