#!/usr/bin/env bash
# Runs one real-window test under a real window manager on the X display xvfb-run made, so that
# frames, stacking, focus and modality are the ones a person gets.
# Usage: with_window_manager.bash <test script> <arguments...>
#
# On a busy machine the window manager can take well over ten seconds to come up, or fail on its
# first try, so each start waits up to WM_START_SECONDS (30 by default) and a failed start is
# tried once more. When both tries fail, the window manager's own output is printed: that is
# where the reason is.
set -uo pipefail

readonly start_seconds=${WM_START_SECONDS:-30}
wm=
wm_log=$(mktemp)
trap 'rm -f "$wm_log"' EXIT

# True once a window manager has announced itself and its check window still exists; a window
# manager that died leaves the root's property behind, pointing at a window that is gone.
wmRunning() {
  local check
  check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | sed -n 's/.*window id # //p')
  [ -n "$check" ] && xprop -id "$check" _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1
}

# Starts the window manager and waits for it; false when it ended or did not announce itself in
# time. Its output goes to $wm_log.
startWm() {
  local try=$1
  xprop -root -remove _NET_SUPPORTING_WM_CHECK 2>/dev/null
  echo "--- start $try" >>"$wm_log"
  openbox --sm-disable >>"$wm_log" 2>&1 &
  wm=$!
  local deadline=$((SECONDS + start_seconds))
  while [ "$SECONDS" -lt "$deadline" ]; do
    wmRunning && return 0
    if ! kill -0 "$wm" 2>/dev/null; then
      wait "$wm" 2>/dev/null
      echo "--- the window manager ended with status $?" >>"$wm_log"
      return 1
    fi
    sleep 0.1
  done
  wmRunning && return 0
  echo "--- no window manager after $start_seconds s" >>"$wm_log"
  kill "$wm" 2>/dev/null
  wait "$wm" 2>/dev/null
  return 1
}

if ! startWm 1 && ! startWm 2; then
  echo "the window manager did not start (two tries of up to $start_seconds s each); its output:" >&2
  cat "$wm_log" >&2
  exit 1
fi

bash "$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $status
