#!/bin/bash
# Runs the commands of docs/LEVELS.md's "your first pack in five minutes" walkthrough, as
# written, in a scratch copy of the build folder's layout: marvolen-level beside a game folder
# whose mappack1 is the built one. The walkthrough must end with a pack check that passes.
# usage: walkthrough_test.sh LEVELS.md MARVOLEN-LEVEL GAME-DIR
set -euo pipefail
doc=$1 tool=$2 game=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/game"
ln -s "$tool" "$scratch/marvolen-level"
ln -s "$game/mappack1" "$scratch/game/mappack1"
cp "$game/mappacks.ini" "$scratch/game/mappacks.ini"

# The shell block right after the walkthrough marker.
awk '/<!-- walkthrough -->/ { marked = 1; next }
     marked && /^```sh$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' "$doc" > "$scratch/walkthrough.sh"
if [ ! -s "$scratch/walkthrough.sh" ]; then
  echo "no walkthrough block found in $doc" >&2
  exit 1
fi
cd "$scratch"
bash -euo pipefail -x walkthrough.sh

# What the walkthrough promises: two levels, pref.ini naming the last, the pack listed once.
test -f game/mypack/level01.dat && test -f game/mypack/level02.dat
test "$(cat game/mypack/pref.ini)" = "$(printf 'levelCount\n2')"
test "$(tail -c 7 game/mappacks.ini)" = "$(printf '\nmypack')"
echo "walkthrough ran"
