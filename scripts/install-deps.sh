#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Wrenfold need, and generates the
# locales the tests use, only what is missing, so a second run returns at once.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev
  libjpeg62-turbo-dev libgif-dev libicu-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  libuemf-dev emf2svg librsvg2-bin
  xvfb xauth xdotool x11-utils x11-apps x11-xserver-utils openbox imagemagick wmctrl
  cups cups-client libcups2-dev poppler-utils
  desktop-file-utils appstream
  fonts-liberation2 fonts-dejavu-core
  locales
)

# The locales the tests run the program under (each selects another code page for the tables'
# text). Generated only when missing.
test_locales=(de_DE pl_PL cs_CZ el_GR ru_RU en_GB)

generate_missing_locales() {
  local available wanted=()
  available=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | tr -d '-')
  for l in "${test_locales[@]}"; do
    local key
    key=$(printf '%s.utf8' "$l" | tr '[:upper:]' '[:lower:]')
    if ! grep -qx "$key" <<<"$available"; then wanted+=("$l"); fi
  done
  [ ${#wanted[@]} -eq 0 ] && return 0
  echo "Generating locales: ${wanted[*]}"
  local sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  for l in "${wanted[@]}"; do
    $sudo_cmd localedef -i "$l" -c -f UTF-8 -A /usr/share/locale/locale.alias "$l.UTF-8"
  done
}

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

generate_missing_locales
