#!/bin/sh
# Copies the packs' difficulty curve that the build draws (build/docs/level-curve.png, from
# marvolen-level stats) into docs/, where docs/LEVELS.md shows it. With --check it only says
# whether docs/ holds the current picture (exit status 1 when not).
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
if [ "$check" = yes ]; then
  if cmp -s "$picture" "$root/docs/level-curve.png"; then
    echo "docs/level-curve.png is current"
  else
    echo "docs/level-curve.png is out of date: run scripts/level-curve.sh" >&2
    exit 1
  fi
else
  cp "$picture" "$root/docs/level-curve.png"
  echo "copied $picture to docs/level-curve.png"
fi
