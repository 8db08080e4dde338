#!/usr/bin/env bash
# Builds the game and starts it from its game folder. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ ! -x build/game/marvolen ]; then
  echo "Marvolen DX is not yet playable: the game program has not been built yet." >&2
  exit 1
fi
cd build/game
exec ./marvolen "$@"
