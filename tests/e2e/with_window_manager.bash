#!/usr/bin/env bash
# Runs one real-window test under a real window manager on the X display xvfb-run made, so that
# frames, stacking, focus and modality are the ones a person gets.
# Usage: with_window_manager.bash <test script> <arguments...>
set -uo pipefail

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then break; fi
  sleep 0.1
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
  echo "the window manager did not start" >&2
  kill "$wm" 2>/dev/null
  exit 1
fi

bash "$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $status
