#!/usr/bin/env bash
# Builds the optimised program the user runs into build-release/ (the configuration ./run.sh
# starts; ./test.sh builds and starts it too, so the README's first command is tested).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DWRENFOLD_BENCH=OFF "$@" >/dev/null
cmake --build build-release -j"$(nproc)" --target wrenfold

# The build makes the Data folder; make sure it is there even if the build was done elsewhere.
mkdir -p build-release/bin/Data
