#!/bin/sh
# Puts what the build measured of the shipped packs into docs/: the difficulty curve
# (build/docs/level-curve.png, from marvolen-level stats) as docs/level-curve.png, and each
# pack's table (build/level-stats/PACK.md) into docs/LEVELS.md between the lines
# "<!-- level table PACK -->" and "<!-- end of level table -->". With --check it only says
# whether docs/ is current (exit status 1 when not).
#   scripts/level-curve.sh [--check] [BUILD_DIR]     (BUILD_DIR defaults to build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
check=no
if [ "${1:-}" = "--check" ]; then
  check=yes
  shift
fi
build=${1:-"$root/build"}
cmake --build "$build" --target level_stats
picture="$build/docs/level-curve.png"
doc="$root/docs/LEVELS.md"
tables=$(mktemp)
trap 'rm -f "$tables"' EXIT
# Every table between its markers replaced by the build's; a marker naming a pack the build
# did not measure stops the script.
awk -v dir="$build/level-stats" '
  /^<!-- level table [^ ]+ -->$/ {
    print
    file = dir "/" $4 ".md"
    if ((getline line < file) <= 0) { print "no table " file > "/dev/stderr"; exit 1 }
    do print line; while ((getline line < file) > 0)
    close(file)
    skipping = 1
    next
  }
  /^<!-- end of level table -->$/ { skipping = 0 }
  !skipping { print }
' "$doc" > "$tables"
if [ "$check" = yes ]; then
  status=0
  if ! cmp -s "$picture" "$root/docs/level-curve.png"; then
    echo "docs/level-curve.png is out of date: run scripts/level-curve.sh" >&2
    status=1
  fi
  if ! cmp -s "$tables" "$doc"; then
    echo "the level tables of docs/LEVELS.md are out of date: run scripts/level-curve.sh" >&2
    status=1
  fi
  [ "$status" = 0 ] && echo "docs/level-curve.png and the level tables of docs/LEVELS.md are current"
  exit "$status"
fi
cp "$picture" "$root/docs/level-curve.png"
cp "$tables" "$doc"
echo "copied $picture to docs/level-curve.png and the level tables into docs/LEVELS.md"
