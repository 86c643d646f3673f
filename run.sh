#!/usr/bin/env bash
# Builds Wrenfold (release) and starts it. Installs the Debian packages it needs first.
# The program keeps its tables in build-release/bin/Data, beside itself.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DWRENFOLD_BENCH=OFF >/dev/null
cmake --build build-release -j"$(nproc)" --target wrenfold

# The build makes the Data folder; make sure it is there even if the build was done elsewhere.
mkdir -p build-release/bin/Data

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under xvfb-run (nothing will be visible)." >&2
  exec xvfb-run -a build-release/bin/wrenfold "$@"
fi
exec build-release/bin/wrenfold "$@"
