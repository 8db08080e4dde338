# shellcheck shell=bash
# What the editor's window tests share. Sourced, with out (the output folder) and log (the
# editor's --log file) set first:
#
#   . tests/edit/editor_window.sh
#   start_editor_xvfb 1600x900    # the virtual X server; the editor in editor_pid ends with it
#
# fail MESSAGE prints the message, the editor's log and the end of its output ($out/editor.out)
# and stops the test; shot NAME saves a screenshot as $out/NAME.png.

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
