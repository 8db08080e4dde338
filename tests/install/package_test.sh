#!/usr/bin/env bash
# Builds the Debian package with CPack and checks it: the file name, the files it holds, the
# dependencies dpkg-shlibdeps found, and lintian with no errors (its whole report is printed).
# Usage: package_test.sh BUILD_DIR APP_ID WORK_DIR
set -euo pipefail

build=$1
app_id=$2
work=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || fail "$tool is missing (see scripts/setup-deps.sh)"
done

rm -rf "$work"
mkdir -p "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(tail -n 20 "$work/cpack.log")"
shopt -s nullglob
debs=("$work"/marvolen-dx_*_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one marvolen-dx_VERSION_ARCH.deb, found: ${debs[*]:-none}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "marvolen-dx_${version}_${arch}.deb" ] || fail "odd file name $deb"
echo "package: $(basename "$deb")"

dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents.txt"
for file in /usr/games/marvolen /usr/bin/marvolen-level /usr/bin/marvolen-sim \
  /usr/bin/marvolen-edit \
  /usr/share/games/marvolen-dx/mappacks.ini /usr/share/games/marvolen-dx/media/level99.dat \
  "/usr/share/applications/$app_id.desktop" "/usr/share/metainfo/$app_id.metainfo.xml" \
  "/usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
  "/usr/share/icons/hicolor/48x48/apps/$app_id.png" \
  /usr/share/man/man6/marvolen.6.gz /usr/share/man/man1/marvolen-level.1.gz \
  /usr/share/man/man1/marvolen-sim.1.gz /usr/share/man/man1/marvolen-edit.1.gz \
  /usr/share/doc/marvolen-dx/copyright \
  /usr/share/doc/marvolen-dx/changelog.gz; do
  grep -qxF "$file" "$work/contents.txt" || fail "the package lacks $file"
done
echo "files: $(grep -vc '/$' "$work/contents.txt")"

# The dependencies come from the binaries (SDL and its helpers, the C and C++ libraries), plus
# the font the game draws its text with.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
tr ',' '\n' <<<"$depends" | awk '{print $1}' >"$work/depends.txt"
for needed in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libc6 libstdc++6 \
  fonts-dejavu-core; do
  grep -qxF "$needed" "$work/depends.txt" || fail "Depends lacks $needed"
done

lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || true
echo "--- lintian ---"
cat "$work/lintian.txt"
if grep -q '^E: ' "$work/lintian.txt"; then fail "lintian reports errors"; fi
echo "package built, listed and checked: no lintian errors"
