#!/usr/bin/env bash
# Builds Wrenfold (release) and starts it. Installs the Debian packages it needs first.
# The program keeps its tables in build-release/bin/Data, beside itself.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

./scripts/build-release.sh

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under xvfb-run (nothing will be visible)." >&2
  exec xvfb-run -a build-release/bin/wrenfold "$@"
fi
exec build-release/bin/wrenfold "$@"
