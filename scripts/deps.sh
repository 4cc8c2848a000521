#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libtiff-dev libtiff-tools libx11-dev libxi-dev libpng-dev libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev valgrind
  xvfb xauth xdotool x11-apps x11-utils imagemagick
  dpkg-dev file desktop-file-utils appstream lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
  else
    echo "Packages are missing and this user is not root and has no sudo: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
