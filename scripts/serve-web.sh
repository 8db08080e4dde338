#!/usr/bin/env bash
# Serves the web build (build-web/site/, made by scripts/build-web.sh) on this machine only,
# at http://127.0.0.1:PORT/ (PORT: the first argument, default 8080). Ctrl+C stops it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
site=${MDX_WEB_DIR:-$root/build-web}/site
port=${1:-8080}
if [ ! -f "$site/index.html" ] || [ ! -f "$site/marvolen.wasm" ]; then
  echo "serve-web: no web build in $site; run scripts/build-web.sh first" >&2
  exit 1
fi
echo "Marvolen DX: http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
