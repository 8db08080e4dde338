#!/usr/bin/env bash
# Checks for the Debian packages the build needs and installs the missing ones.
# As root it runs apt-get; otherwise it prints the exact command and stops.
# With --web it checks the web build's tools instead (scripts/build-web.sh): emscripten, the
# browser the web tests drive, npm for their driver, and dpkg-dev for apt-get source.
set -euo pipefail

desktop_packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev
  libimgui-dev libstb-dev libcairo2-dev libmp3lame-dev fonts-dejavu-core
  xvfb xauth xdotool x11-utils imagemagick-6.q16
  desktop-file-utils appstream lintian dpkg-dev man-db groff-base libxml2-utils
  clang libclang-rt-14-dev libfuzzer-14-dev clang-format-14
)
web_packages=(emscripten chromium dpkg-dev fonts-dejavu-core python3)

packages=("${desktop_packages[@]}")
if [ "${1:-}" = "--web" ]; then
  packages=("${web_packages[@]}")
  # npm comes with nodejs from other archives; Debian's own npm only when there is none.
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root:  apt-get update && $cmd" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
