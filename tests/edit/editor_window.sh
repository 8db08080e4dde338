# shellcheck shell=bash
# What the editor's window tests share. Sourced, with out (the output folder) and log (the
# editor's --log file) set first, and editor (the program) for open_editor:
#
#   . tests/edit/editor_window.sh
#   start_editor_xvfb 1600x900    # the virtual X server; the editor in editor_pid ends with it
#
# open_editor FOLDER [ARGS...] starts the editor in FOLDER (where typed file names are taken
# from) with ARGS and the log, its pid in editor_pid and its window, with the keyboard's focus,
# in window; cell_point and drag_cells find and drag over the canvas's cells; wait_log
# PATTERN [SECONDS [COUNT]] waits for the COUNTth log line matching PATTERN.
#
# fail MESSAGE prints the message, the editor's log and the end of its output ($out/editor.out)
# and stops the test; shot NAME saves a screenshot as $out/NAME.png; mark, wait_new and last
# follow the editor's log.

fail() {
  echo "FAIL: $*" >&2
  echo "--- editor log ---" >&2
  cat "$log" >&2 2>/dev/null || true
  echo "--- editor output ---" >&2
  tail -n 30 "$out/editor.out" >&2 2>/dev/null || true
  exit 1
}

# In a sanitizer build, memory errors still abort the editor and the game, but the leak check
# at exit is off here: the X server's GL driver keeps small allocations with stacks that cannot
# be traced back to a library. The editor's own leaks are checked by its headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# shellcheck source=SCRIPTDIR/../../scripts/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
editor_pid=""
editor_window_cleanup() {
  if [ -n "$editor_pid" ] && kill -0 "$editor_pid" 2>/dev/null; then kill "$editor_pid"; fi
}

start_editor_xvfb() {
  xvfb_require Xvfb xdotool import || fail "a tool is missing"
  xvfb_at_exit editor_window_cleanup
  start_xvfb "$1" || fail "no virtual X server"
}

shot() { screenshot "$out/$1.png"; }

open_editor() {
  local folder=$1
  shift
  (cd "$folder" && exec "$editor" "$@" --log "$log") >"$out/editor.out" 2>&1 &
  editor_pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Marvolen DX level editor' |
    tail -n 1) || fail "no editor window appeared"
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
}
# cell_point ROW COLUMN: the window point in the middle of a cell, from the window's X and Y
# and the canvas_x, canvas_y and zoom the editor's log gave for its canvas.
cell_point() { editor_cell_point "$X" "$Y" "$canvas_x" "$canvas_y" "$zoom" "$1" "$2"; }
# drag_cells BUTTON ROW COLUMN ROW COLUMN: the button held from one cell to another at a
# person's pace.
drag_cells() {
  # shellcheck disable=SC2046
  xdotool mousemove $(cell_point "$2" "$3")
  sleep 0.2
  xdotool mousedown "$1"
  sleep 0.15
  # shellcheck disable=SC2046
  xdotool mousemove $(cell_point "$4" "$5")
  sleep 0.2
  xdotool mouseup "$1"
  sleep 0.3
}
wait_log() { wait_for_line "$log" "$1" "$editor_pid" "${2:-30}" "${3:-1}" || fail "see above"; }

# mark, then wait_new PATTERN [SECONDS]: waits for a log line matching PATTERN written after the
# mark (the log writes a line only when its text changes, so counting old lines would not do).
# A step that never comes leaves the screen as failed-step.png.
mark() { marked=$(wc -l <"$log"); }
wait_new() {
  local limit=${2:-30}
  for _ in $(seq $((limit * 10))); do
    tail -n +$((marked + 1)) "$log" | grep -q -- "$1" && return 0
    kill -0 "$editor_pid" 2>/dev/null || fail "the editor ended while waiting for \"$1\""
    sleep 0.1
  done
  shot failed-step
  fail "no \"$1\" in the log after ${limit}s"
}
# The last log line of a kind, from its field FIELD (2, the first after the kind, unless told).
last() { grep "^$1 " "$log" | tail -n 1 | cut -d' ' -f"${2:-2}-"; }
