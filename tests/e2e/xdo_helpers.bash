# Helpers the real-window tests share: find windows by their exact titles, click at client
# coordinates, type as a person would. Sourced by the tests (not run on its own: tests/e2e
# registers only *.sh files).

# Finds a visible window by its exact title, waiting up to 20 seconds.
window() {
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  echo "window '$1' did not appear" >&2
  return 1
}

# Waits up to 20 seconds until no visible window has the exact title.
gone() {
  for _ in $(seq 200); do
    if [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true)" ]; then return 0; fi
    sleep 0.1
  done
  echo "window '$1' did not close" >&2
  return 1
}

# Gives a window the keyboard focus (there is no window manager to do it).
focus() {
  xdotool windowfocus --sync "$1" || true
  sleep 0.3
}

# Clicks at a point of a window's client area.
click() {
  xdotool mousemove --window "$1" "$2" "$3"
  sleep 0.2
  xdotool click 1
  sleep 0.4
}

# Types into the window that has the keyboard focus.
typeText() {
  xdotool type --delay 30 "$1"
  sleep 0.2
}

# Clicks into an edit, selects what it holds and types over it.
replaceText() {
  click "$1" "$2" "$3"
  xdotool key ctrl+a
  sleep 0.1
  typeText "$4"
}
