#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds into build/. Executables land in build/bin/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config libpng-dev zlib1g-dev libjpeg62-turbo-dev
          qt6-base-dev fonts-dejavu-extra libgtest-dev libbenchmark-dev xvfb
          libavcodec-dev libavformat-dev libswscale-dev libavutil-dev libmpfr-dev
          desktop-file-utils appstream man-db dpkg-dev  # the install tests' checkers
          ffmpeg pngcheck)  # the last two: the tests read films and pictures back
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" ${CMAKE_EXTRA:-}
cmake --build build -j"$(nproc)"
