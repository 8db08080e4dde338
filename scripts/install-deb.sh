#!/usr/bin/env bash
# Builds the Debian package, installs it for real with apt-get, checks the installed game (it
# reaches its title screen from another folder without a window, its menu entry is valid, its
# manual pages open and the level tool previews a level with the installed data) and removes
# the package again. Run as root on Debian 12.
#   scripts/install-deb.sh [BUILD_DIR]     (default: build)
#   MDX_KEEP_INSTALLED=1 scripts/install-deb.sh    leaves the package installed
set -euo pipefail

cd "$(dirname "$0")/.."
build=${1:-build}
[ "$(id -u)" -eq 0 ] || { echo "install-deb.sh: run as root (apt-get installs the package)" >&2; exit 1; }
./scripts/setup-deps.sh
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DMDX_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j"$(nproc)"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/marvolen-dx_*.deb)
echo "installing $(basename "$deb")"
apt-get install -y "$deb"

app_id=$(dpkg -L marvolen-dx | sed -n 's|^/usr/share/applications/\(.*\)\.desktop$|\1|p')
desktop-file-validate "/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml"
man -w marvolen >/dev/null && man -w marvolen-level >/dev/null && man -w marvolen-edit >/dev/null
cd "$out"
# The installed level tool finds the installed data by itself.
data=/usr/share/games/marvolen-dx
/usr/bin/marvolen-level decompile "$data/$(head -n 1 "$data/mappacks.ini")/level01.dat" level01.src
/usr/bin/marvolen-level preview level01.src level01.png
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy MDX_NO_MESSAGE_BOXES=1 \
  /usr/games/marvolen --no-dialog --no-sound --log "$out/state.log" &
game=$!
for _ in $(seq 100); do
  grep -q "^state StateTitle" "$out/state.log" 2>/dev/null && break
  sleep 0.1
done
kill "$game" 2>/dev/null || true
wait "$game" 2>/dev/null || true
grep -q "^state StateTitle" "$out/state.log" || { echo "the installed game did not reach its title" >&2; exit 1; }
echo "installed game reaches its title; menu entry, metadata and manual pages are in place"

if [ -z "${MDX_KEEP_INSTALLED:-}" ]; then
  apt-get remove -y marvolen-dx
fi
