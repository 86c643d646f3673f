#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Wrenfold need, and only those
# that are missing, so a second run returns at once.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev
  libjpeg62-turbo-dev libgif-dev libicu-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  libuemf-dev emf2svg librsvg2-bin
  xvfb xauth xdotool x11-utils x11-apps openbox imagemagick wmctrl
  cups cups-client libcups2-dev poppler-utils
  desktop-file-utils appstream
  fonts-liberation2 fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
