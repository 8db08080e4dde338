#!/usr/bin/env bash
# Builds the game for web browsers (WebAssembly) into build-web/site/: index.html, the program's
# .js and .wasm, and its data (media, the map packs, mappacks.ini) packed into one .data file.
#
# Steps, each skipped when its result is already there:
#   1. the web tools (emscripten, chromium, npm: scripts/setup-deps.sh --web);
#   2. the sources of SDL2, SDL2_mixer, FreeType and SDL2_ttf from Debian's archive
#      (apt-get source, the same versions the desktop build links) into build-web/cache/src;
#   3. those libraries built for WebAssembly as static libraries into build-web/cache/prefix;
#   4. the game's data (pictures, sounds, music, levels) made by the desktop tools in
#      build-web/host (the generator runs on this machine, not in the browser);
#   5. the game itself with emcmake from the same CMake project into build-web/game, which
#      assembles build-web/site/.
# build-web/ is ignored by git; delete build-web/cache to fetch and build the libraries again.
# Environment: MDX_WEB_DIR (default build-web), MDX_JOBS (default 2).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${MDX_WEB_DIR:-$root/build-web}
cache=$out/cache
prefix=$cache/prefix
jobs=${MDX_JOBS:-2}
# Emscripten's own scripts need Debian's node modules when node itself is not Debian's.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The Debian source packages and the folder each unpacks into.
sources=(
  "libsdl2 libsdl2-2.26.5+dfsg"
  "libsdl2-mixer libsdl2-mixer-2.6.2+dfsg"
  "freetype freetype-2.12.1+dfsg"
  "libsdl2-ttf libsdl2-ttf-2.20.1+dfsg"
)

say() { echo "build-web: $*"; }

# apt-get source needs a deb-src entry; Debian's default configuration has none.
ensure_source_entries() {
  if apt-get indextargets 2>/dev/null | grep -q '^Created-By: Sources'; then return; fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "build-web: apt has no deb-src entry; as root add one for bookworm and run apt-get update" >&2
    exit 1
  fi
  say "adding Debian's source archive to apt (/etc/apt/sources.list.d/debian-src.sources)"
  cat >/etc/apt/sources.list.d/debian-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  apt-get update -qq
}

fetch_sources() {
  mkdir -p "$cache/src"
  local entry package folder
  for entry in "${sources[@]}"; do
    read -r package folder <<<"$entry"
    [ -d "$cache/src/$folder" ] && continue
    ensure_source_entries
    say "fetching the source of $package"
    # The exact version the desktop build links: the one installed, else the candidate.
    local version
    version=$(apt-cache policy "$package-dev" 2>/dev/null | awk '/Installed:/ {print $2}')
    [ -z "$version" ] || [ "$version" = "(none)" ] && version=""
    (cd "$cache/src" && apt-get source -qq "$package${version:+=$version}" >/dev/null)
    [ -d "$cache/src/$folder" ] || { echo "build-web: $package did not unpack into $folder" >&2; exit 1; }
  done
}

# emcmake-configures, builds and installs one library source folder into the prefix.
build_library() {
  local folder=$1 name=$2
  shift 2
  [ -f "$prefix/.built-$name" ] && return
  say "building $name for WebAssembly"
  local build="$cache/build/$name"
  rm -rf "$build"
  emcmake cmake -S "$cache/src/$folder" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "${launcher[@]}" "$@" >"$build.log" 2>&1 ||
    { tail -30 "$build.log" >&2; exit 1; }
  cmake --build "$build" -j"$jobs" >>"$build.log" 2>&1 || { tail -30 "$build.log" >&2; exit 1; }
  cmake --install "$build" >>"$build.log" 2>&1 || { tail -30 "$build.log" >&2; exit 1; }
  touch "$prefix/.built-$name"
}

build_libraries() {
  mkdir -p "$cache/build"
  # The emscripten sysroot holds a CMake file that means "use the SDL port" (a download) and
  # SDL 1 headers: every library after SDL2 is pointed at the prefix explicitly.
  local sdl=(-DSDL2_DIR="$prefix/lib/cmake/SDL2")
  build_library libsdl2-2.26.5+dfsg sdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_PTHREADS=OFF -DSDL_THREADS=OFF
  # The mixer's built-in WAV and MP3 (dr_mp3) decoders are all the game plays.
  build_library libsdl2-mixer-2.6.2+dfsg sdl2_mixer "${sdl[@]}" -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON \
    -DSDL2MIXER_MP3_MPG123=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_DEPS_SHARED=OFF
  build_library freetype-2.12.1+dfsg freetype -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
  build_library libsdl2-ttf-2.20.1+dfsg sdl2_ttf "${sdl[@]}" -DSDL2TTF_SAMPLES=OFF \
    -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DFreetype_DIR="$prefix/lib/cmake/freetype"
}

# The game's data, made on this machine by the desktop tools (no game, tests or benchmarks).
build_host_data() {
  say "making the game's data with the desktop tools (build-web/host)"
  cmake -S "$root" -B "$out/host" -DCMAKE_BUILD_TYPE=Release -DMDX_BUILD_GAME=OFF \
    -DMDX_BUILD_TESTS=OFF -DMDX_BUILD_BENCHMARKS=OFF "${launcher[@]}" >"$out/host.log" 2>&1 ||
    { tail -30 "$out/host.log" >&2; exit 1; }
  cmake --build "$out/host" -j"$jobs" --target media mdx_levels marvolen-level \
    >>"$out/host.log" 2>&1 || { tail -30 "$out/host.log" >&2; exit 1; }
}

# The game for WebAssembly from the same project; extra arguments go to its configure.
build_game() {
  say "building the game for WebAssembly (build-web/game) into build-web/site"
  emcmake cmake -S "$root" -B "$out/game" -DCMAKE_BUILD_TYPE=Release \
    -DMDX_WEB_PREFIX="$prefix" -DMDX_WEB_DATA_DIR="$out/host/game" -DMDX_WEB_SITE_DIR="$out/site" \
    "${launcher[@]}" "$@" >"$out/game.log" 2>&1 || { tail -30 "$out/game.log" >&2; exit 1; }
  cmake --build "$out/game" -j"$jobs" >>"$out/game.log" 2>&1 || { tail -40 "$out/game.log" >&2; exit 1; }
}

bash "$root/scripts/setup-deps.sh" --web
fetch_sources
build_libraries
build_host_data
build_game "$@"
say "the page is in ${out#"$PWD"/}/site; scripts/serve-web.sh serves it"
