#!/usr/bin/env bash
# Installs from Debian's packages everything that building, running and testing
# Mirel needs. Safe to run again: it installs only what is missing and says
# nothing when all is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libasound2-dev libx11-dev
  libphysfs-dev libpugixml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libvorbis-dev libogg-dev libzip-dev zlib1g-dev zip
  fonts-dejavu-core fonts-vlgothic
  xvfb xauth libgl1-mesa-dri libegl-mesa0 libgles2 mesa-utils
  libxtst-dev openbox i3-wm icewm fluxbox xserver-xorg-core xserver-xorg-video-dummy
  clang-14 libclang-rt-14-dev python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
