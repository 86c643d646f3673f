#!/usr/bin/env bash
# Builds Wrenfold and runs every test. Exit status is the verdict.
#   1. installs the Debian packages that are missing and checks that every source file is
#      formatted as .clang-format says (clang-format -i FILE mends one),
#   2. builds an optimised tree in build/ and runs all tests through CTest,
#   3. builds the release program ./run.sh builds and starts it once under Xvfb,
#   4. builds the store, tool and decoder tests again with AddressSanitizer and
#      UndefinedBehaviorSanitizer in build-asan/ and runs them there.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc)

echo "== formatting =="
find app bench controls desktop forms framework fuzz reports store tests tools \
  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror

echo "== build (RelWithDebInfo) =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWRENFOLD_WERROR=ON >/dev/null
cmake --build build -j"$jobs"

echo "== tests =="
(cd build && ctest --output-on-failure -j"$jobs")

echo "== release build, started as ./run.sh starts it =="
./scripts/build-release.sh
xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash tests/e2e/with_window_manager.bash tests/e2e/release_start.bash build-release/bin/wrenfold

echo "== sanitizer build (ASan + UBSan) =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWRENFOLD_SANITIZE=ON \
  -DWRENFOLD_BENCH=OFF -DWRENFOLD_WERROR=ON -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
cmake --build build-asan -j"$jobs" --target sanitize_tests

echo "== sanitizer tests =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j"$jobs" -L sanitize)

echo "All tests passed."
