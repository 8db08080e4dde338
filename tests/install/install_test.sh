#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks it as a desktop and a player would:
# the file layout, desktop-file-validate, appstreamcli validate, every icon size, the manual
# pages rendered without warnings, the installed game started from another working directory
# up to its title screen, the installed level tool and editor finding the installed data by
# themselves, and the set-ups where no data can be found.
# Usage: install_test.sh BUILD_DIR APP_ID WORK_DIR "16;32;..."
set -euo pipefail

build=$1
app_id=$2
work=$3
IFS=';' read -r -a icon_sizes <<<"$4"
prefix=/opt/marvolen-dx   # any prefix: the game finds its data relative to itself
root="$work/root"
installed="$root$prefix"
data="$installed/share/games/marvolen-dx"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in desktop-file-validate appstreamcli man identify xmllint; do
  command -v "$tool" >/dev/null || fail "$tool is missing (see scripts/setup-deps.sh)"
done

rm -rf "$work"
mkdir -p "$work/elsewhere" "$work/empty"
DESTDIR="$root" cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install failed: $(tail -n 5 "$work/install.log")"
(cd "$root" && find . -type f -o -type l | sort) >"$work/files.txt"
echo "installed $(wc -l <"$work/files.txt") files into $root"

# ---- Layout -----------------------------------------------------------------------------------
for file in games/marvolen bin/marvolen-level bin/marvolen-sim bin/marvolen-edit \
  share/games/marvolen-dx/mappacks.ini share/games/marvolen-dx/media/level99.dat \
  "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
  "share/icons/hicolor/scalable/apps/$app_id.svg" \
  share/man/man6/marvolen.6.gz share/man/man1/marvolen-level.1.gz \
  share/man/man1/marvolen-sim.1.gz share/man/man1/marvolen-edit.1.gz \
  share/doc/marvolen-dx/copyright; do
  [ -e "$installed/$file" ] || fail "$file is not installed"
done
for program in games/marvolen bin/marvolen-level bin/marvolen-sim bin/marvolen-edit; do
  [ -x "$installed/$program" ] || fail "$program is not executable"
done
# Every map pack named in mappacks.ini comes with its levels.
while IFS= read -r pack || [ -n "$pack" ]; do
  [ -z "$pack" ] && continue
  [ -f "$data/$pack/level01.dat" ] || fail "map pack $pack has no level01.dat"
  [ -f "$data/$pack/pref.ini" ] || fail "map pack $pack has no pref.ini"
done <"$data/mappacks.ini"
executables=$(find "$data" -type f -perm /111)
[ -z "$executables" ] || fail "executable files in the data folder: $executables"

# ---- Desktop entry, metadata, icons -----------------------------------------------------------
desktop-file-validate "$installed/share/applications/$app_id.desktop" ||
  fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$installed/share/metainfo/$app_id.metainfo.xml" ||
  fail "appstreamcli rejects the metadata"
grep -qx "Icon=$app_id" "$installed/share/applications/$app_id.desktop" ||
  fail "the desktop entry does not name the icon $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
  "$installed/share/metainfo/$app_id.metainfo.xml" || fail "the metadata launches no $app_id.desktop"
for size in "${icon_sizes[@]}"; do
  icon="$installed/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  got=$(identify -format '%m %w %h' "$icon")
  [ "$got" = "PNG $size $size" ] || fail "${size}x${size} icon is '$got'"
  # An icon is a picture on a see-through background: corners clear, the middle drawn.
  corner=$(convert "$icon" -format '%[fx:p{0,0}.a]' info:)
  middle=$(convert "$icon" -format "%[fx:p{$((size / 2)),$((size / 2))}.a]" info:)
  [ "$corner" = "0" ] && [ "$middle" = "1" ] ||
    fail "${size}x${size} icon: corner alpha $corner, middle alpha $middle"
done
svg="$installed/share/icons/hicolor/scalable/apps/$app_id.svg"
view_box=$(xmllint --xpath 'string(/*[local-name()="svg"]/@viewBox)' "$svg") ||
  fail "the scalable icon is not well-formed XML"
read -r _ _ view_width view_height <<<"$view_box"
[ -n "$view_width" ] && [ "$view_width" = "$view_height" ] ||
  fail "the scalable icon is not a square SVG picture (viewBox '$view_box')"

# ---- Manual pages -----------------------------------------------------------------------------
for page in "$installed"/share/man/man*/*.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  [ "$(MANWIDTH=80 man -l "$page" 2>/dev/null | wc -l)" -gt 10 ] || fail "$(basename "$page") is empty"
done

# ---- The installed game, started from elsewhere -----------------------------------------------
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy MDX_NO_MESSAGE_BOXES=1
export XDG_DATA_DIRS="$work/empty" HOME="$work/home"
unset MARVOLEN_DATA XDG_DATA_HOME XDG_CONFIG_HOME XDG_STATE_HOME
cd "$work/elsewhere"
# The installed simulator plays a level of the installed data.
# One world step leaves level 1 undecided: exit status 5.
status=0
"$installed/bin/marvolen-sim" --data "$data" --pack "$(head -n 1 "$data/mappacks.ini")" \
  --level 1 --do w >"$work/sim.json" || status=$?
[ "$status" = 5 ] || fail "the installed simulator cannot load level 1 (status $status)"
grep -q '"levelNumber"' "$work/sim.json" || fail "the simulator printed no game state"

# Ends a game started in the background: SDL turns the TERM signal into a quit request; a game
# still running after five seconds is killed.
stop_game() {
  kill "$1" 2>/dev/null || true
  for _ in $(seq 50); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# Runs the game with the given environment and options until its log shows a line matching
# the pattern (at most a minute, for a busy machine or a sanitizer build).
reaches_state() {
  local pattern=$1 log="$work/state.log" pid
  shift
  rm -f "$log"
  env "$@" --no-dialog --no-sound --log "$log" >"$work/game.out" 2>&1 &
  pid=$!
  for _ in $(seq 600); do
    if grep -q "$pattern" "$log" 2>/dev/null; then
      stop_game "$pid"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  stop_game "$pid"
  cat "$work/game.out" >&2
  return 1
}
reaches_title() { reaches_state "^state StateTitle" "$@"; }
reaches_title "$installed/games/marvolen" || fail "the installed game did not reach the title"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into its working directory"
reaches_title MARVOLEN_DATA="$work/missing" "$installed/games/marvolen" ||
  fail "a missing MARVOLEN_DATA kept the installed game from its data"
grep -q "MARVOLEN_DATA \"$work/missing\" does not exist; using \"$data\"" "$work/game.out" ||
  fail "no warning about the missing MARVOLEN_DATA: $(cat "$work/game.out")"

# A pack of the player's own, in their data folder, plays with --pack from any folder; one
# named as a shipped pack is left out with a word why.
first_pack=$(head -n 1 "$data/mappacks.ini")
own="$HOME/.local/share/marvolen-dx/packs"
mkdir -p "$own/mine" "$own/$first_pack"
cp "$data/$first_pack/level01.dat" "$data/$first_pack/pref.ini" "$own/mine/"
cp "$data/$first_pack/pref.ini" "$own/$first_pack/"
(cd / && reaches_state "^state StateReady level 1" "$installed/games/marvolen" --pack mine \
  --level 1) || fail "the installed game did not play the player's own pack from /"
grep -q "Error opening" "$work/game.out" && fail "the player's pack: $(cat "$work/game.out")"
grep -qF "your pack \"$own/$first_pack\" is left out" "$work/game.out" ||
  fail "no word about the player's pack named as a shipped one: $(cat "$work/game.out")"
rm -rf "$HOME/.local/share/marvolen-dx/packs"
find "$data" -newer "$work/install.log" -print | grep -q . &&
  fail "the game wrote into its data folder: $(find "$data" -newer "$work/install.log")"

# ---- The installed level tools, started from elsewhere, without --data ------------------------
mkdir -p "$work/tools"
cd "$work/tools"
"$installed/bin/marvolen-level" decompile "$data/$first_pack/level01.dat" level01.src ||
  fail "the installed level tool cannot decompile level 1"
"$installed/bin/marvolen-level" preview level01.src level01.png 2>"$work/preview.err" ||
  fail "the installed level tool cannot preview a level: $(cat "$work/preview.err")"
[ "$(identify -format '%m %w %h' level01.png)" = "PNG 640 480" ] ||
  fail "the preview is not a 640 x 480 PNG picture"
# The game's pictures were found: the play field shows far more than a few flat colours.
[ "$(identify -format '%k' level01.png)" -gt 50 ] || fail "the preview has no pictures in it"
# From the root folder too, and the simulator without --dir finds the same data.
(cd / && "$installed/bin/marvolen-level" preview "$work/tools/level01.src" "$work/tools/root.png") ||
  fail "the installed level tool cannot preview a level from /"
cmp -s level01.png root.png || fail "the preview made from / differs"
status=0
(cd / && "$installed/bin/marvolen-sim" --pack "$first_pack" --level 1 --do w >"$work/sim.json") ||
  status=$?
[ "$status" = 5 ] || fail "the installed simulator cannot find the installed data from / (status $status)"

# The installed editor takes the installed data and the installed game for play-tests.
"$installed/bin/marvolen-edit" --help >/dev/null || fail "marvolen-edit --help failed"
(cd / && exec "$installed/bin/marvolen-edit" "$work/tools/level01.src" --log "$work/edit.log") \
  >"$work/edit.out" 2>&1 &
editor_pid=$!
for _ in $(seq 300); do
  grep -q "^pictures " "$work/edit.log" 2>/dev/null && break
  kill -0 "$editor_pid" 2>/dev/null || break
  sleep 0.1
done
stop_game "$editor_pid"
real_data=$(realpath "$data")
grep -qxF "data $real_data" "$work/edit.log" ||
  fail "the installed editor did not take $real_data: $(cat "$work/edit.log" "$work/edit.out")"
grep -qxF "game $(realpath "$installed/games/marvolen")" "$work/edit.log" ||
  fail "the installed editor would not play-test with the installed game: $(cat "$work/edit.log")"
grep -q "^pictures [1-9]" "$work/edit.log" || fail "the installed editor found no pictures"
cd "$work/elsewhere"

# ---- Set-ups without data: one line naming every folder tried, exit status 2 ------------------
mkdir -p "$work/lonely" "$work/no-list"
cp "$installed/games/marvolen" "$work/lonely/"
touch "$work/a-file"
expect_no_data() {
  local why=$1 status=0
  shift
  env "$@" --no-dialog --no-sound >"$work/bad.out" 2>&1 || status=$?
  [ "$status" -eq 2 ] || fail "$why: exit status $status, not 2"
  [ "$(wc -l <"$work/bad.out")" -eq 1 ] || fail "$why: not one line: $(cat "$work/bad.out")"
  grep -q "no game data found" "$work/bad.out" || fail "$why: $(cat "$work/bad.out")"
}
lonely="$work/lonely/marvolen"
expect_no_data "no data anywhere" "$lonely"
for folder in "$work/lonely" "$work/share/games/marvolen-dx" "$work/empty/games/marvolen-dx"; do
  grep -qF "$folder (" "$work/bad.out" || fail "the message does not name $folder"
done
expect_no_data "--data at a file" "$lonely" --data "$work/a-file"
grep -qF "$work/a-file (is not a folder)" "$work/bad.out" || fail "$(cat "$work/bad.out")"
expect_no_data "a folder without mappacks.ini" "$lonely" --data "$work/no-list"
grep -qF "$work/no-list (holds no mappacks.ini)" "$work/bad.out" || fail "$(cat "$work/bad.out")"
expect_no_data "MARVOLEN_DATA at a missing folder" MARVOLEN_DATA="$work/missing" "$lonely"
grep -qF "$work/missing (does not exist)" "$work/bad.out" || fail "$(cat "$work/bad.out")"
# The level tool alone, with no game beside it: status 1, the folders tried and its option.
cp "$installed/bin/marvolen-level" "$work/lonely/"
status=0
"$work/lonely/marvolen-level" preview "$work/tools/level01.src" "$work/x.png" \
  >"$work/bad.out" 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "the level tool without data: exit status $status, not 1"
grep -q "no game data found.*--data DIR" "$work/bad.out" || fail "$(cat "$work/bad.out")"
echo "installed tree, validators, icons, manual pages and data search: all good"
