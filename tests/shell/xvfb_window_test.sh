#!/usr/bin/env bash
# The game window under a virtual X server without a window manager: full screen (which no
# window manager grants here) shows the whole picture over the whole screen, and a window
# resized with xdotool shows it at the largest whole scale that fits, centred on black.
# Screenshots are kept in the output folder.
# Usage: xvfb_window_test.sh MARVOLEN_BINARY GAME_FOLDER OUTPUT_FOLDER
set -euo pipefail
binary=$1
game=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# shellcheck source=SCRIPTDIR/../../scripts/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xvfb.sh"
xvfb_require Xvfb xdotool import convert xwininfo || fail "a tool is missing"
xvfb_game_session
start_xvfb 1280x960 || fail "no virtual X server"

# The colour of one pixel of a screenshot, "black" or something else.
pixel() {
  local colour
  colour=$(convert "$1" -format "%[pixel:p{$2,$3}]" info:)
  case "$colour" in
    black | "srgb(0,0,0)" | "rgb(0,0,0)") echo black ;;
    *) echo colour ;;
  esac
}
expect_pixel() {
  [ "$(pixel "$1" "$2" "$3")" = "$4" ] || fail "$(basename "$1") at ($2, $3) is not $4"
}
alt_enter() {
  xdotool keydown alt keydown Return
  sleep 0.2
  xdotool keyup Return keyup alt
  sleep 1.5
}

"$binary" --data "$game" --no-dialog --windowed --scale 1 --no-save >"$work/game.out" 2>&1 &
game_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Marvolen DX$' | tail -n 1) ||
  fail "no game window"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 1

# Full screen: the picture twice its size covers the whole 1280 x 960 screen, corners included.
alt_enter
import -window root "$out/fullscreen.png"
for corner in "5 5" "1274 5" "5 954" "1274 954"; do
  # shellcheck disable=SC2086
  expect_pixel "$out/fullscreen.png" $corner colour
done

# Back to a window, then resized to 1000 x 700: scale 1, centred, black bars on every side.
alt_enter
xdotool windowsize --sync "$window" 1000 700 || xdotool windowsize "$window" 1000 700
sleep 1.5
import -window "$window" "$out/resized-1000x700.png"
expect_pixel "$out/resized-1000x700.png" 170 100 black      # left and top bars
expect_pixel "$out/resized-1000x700.png" 830 600 black      # right and bottom bars
expect_pixel "$out/resized-1000x700.png" 185 115 colour     # the picture's top-left corner
expect_pixel "$out/resized-1000x700.png" 815 585 colour     # and its bottom-right corner

# Large enough for twice the size: 1280 x 960 exactly, no bars.
xdotool windowsize --sync "$window" 1280 960 || xdotool windowsize "$window" 1280 960
sleep 1.5
import -window "$window" "$out/resized-1280x960.png"
expect_pixel "$out/resized-1280x960.png" 3 3 colour
expect_pixel "$out/resized-1280x960.png" 1276 956 colour
kill -0 "$game_pid" 2>/dev/null || fail "the game ended"
echo "screenshots in $out"
