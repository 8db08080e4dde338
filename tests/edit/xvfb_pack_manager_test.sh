#!/usr/bin/env bash
# The pack manager in the editor's real window, in a virtual X server driven with xdotool: a
# pack of two shipped levels lies in the folder the export offers (the player's packs folder); Ctrl+P (held as a person
# holds it, and as a 12 ms tap) shows and hides the panel, which opens that pack and lists its
# two levels with their pictures, names, proofs and win shares. Screenshots land in the output
# folder.
# Usage: xvfb_pack_manager_test.sh MARVOLEN_EDIT MARVOLEN_LEVEL SHIPPED_PACK_FOLDER OUTPUT_FOLDER
set -euo pipefail

editor=$1
leveltool=$2
shipped=$3
out=$4
mkdir -p "$out"
rm -rf "${out:?}"/*
log="$out/edit.log"
work="$out/work"
export XDG_DATA_HOME="$out/data"
pack="$XDG_DATA_HOME/marvolen-dx/packs/mypack"
mkdir -p "$pack" "$work" "$out/config"
for n in 01 02; do
  cp "$shipped/level$n.src" "$pack/level$n.src"
  "$leveltool" build "$pack/level$n.src" "$pack/level$n.dat" 2>/dev/null
done
printf 'levelCount\n2\n' >"$pack/pref.ini"
"$leveltool" pack meta "$pack" "$pack/level01.src" "$pack/level02.src" >/dev/null
cp "$shipped/level03.src" "$work/level.src"

export XDG_CONFIG_HOME="$out/config"
# shellcheck source=SCRIPTDIR/editor_window.sh
. "$(dirname "${BASH_SOURCE[0]}")/editor_window.sh"
start_editor_xvfb 1600x1000
# Holds the chord $1 for $2 seconds.
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
  sleep 0.3
}

open_editor "$work" level.src
wait_log '^proof [0-9]*: winnable' 60 >/dev/null

hold ctrl+p 0.08
wait_log '^pack-panel shown' >/dev/null
wait_log "^pack .*/mypack 2 levels" >/dev/null
wait_log '^pack-figures 2 of 2 measured' 120 >/dev/null
shot 01-pack-manager
hold ctrl+p 0.012
wait_log '^pack-panel hidden' >/dev/null
hold ctrl+p 0.06
wait_log '^pack-panel shown' 30 2 >/dev/null
shot 02-pack-manager-again
echo "the pack manager shows the pack's two levels, measured"
