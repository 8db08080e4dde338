#!/usr/bin/env bash
# The web stage's browser test: installs the test's driver (puppeteer-core, from
# package-lock.json; it drives Debian's chromium, no browser is downloaded), asks the level
# solver for level 1's winning actions, and plays the built page (build-web/site) in headless
# Chromium (web_test.js). Screenshots go to build-web/test-output.
# Usage: tests/web/run.sh [WEB_BUILD_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
web=${1:-${MDX_WEB_DIR:-$root/build-web}}

(cd "$here" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
actions=$("$web/host/marvolen-level" solve "$root/levels/mappack1/level01.src" |
  sed -n 's/^actions: //p')
[ -n "$actions" ] || { echo "web test: the solver found no actions for level 1" >&2; exit 1; }
mkdir -p "$web/test-output"
node "$here/web_test.js" "$web/site" "$root/tests/render/golden/title.png" "$actions" \
  "$web/test-output"
