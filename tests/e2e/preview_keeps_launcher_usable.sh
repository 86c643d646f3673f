#!/usr/bin/env bash
# A report preview opened from a modal list window: the list window still takes clicks while the
# preview is open (its Edit opens the service dialog), and the preview takes clicks as well (its
# Close closes it). Either one blocked by the other fails here.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run.
set -euo pipefail

program=$1
work=$(mktemp -d)
pid=
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT

cp "$program" "$work/wrenfold"
mkdir "$work/Data"
"$work/wrenfold" &
pid=$!

source "$(dirname "$0")/xdo_helpers.bash"

fail() { echo "$*" >&2; exit 1; }

# Position and size of a window on the screen: sets X, Y, WIDTH, HEIGHT.
geometryOf() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
}

# One vehicle with one service, through the windows.
main=$(window "Tembra Office - Wrenfold")
focus "$main"
addVehicleThroughWindows "Volvo"

addServiceThroughWindows "Oil change"

click "$services" 56 215                   # "Print..." above the service grid
preview=$(window "Print Preview")
sleep 1

# The preview opens maximized. Bring it to its normal state where a window manager keeps it,
# small, and put it below the service window, so that neither covers the other.
if command -v wmctrl >/dev/null; then
  wmctrl -i -r "$preview" -b remove,maximized_vert,maximized_horz 2>/dev/null || true
fi
geometryOf "$services"
below=$((Y + HEIGHT + 40))
xdotool windowsize --sync "$preview" 420 120 || xdotool windowsize "$preview" 420 120
xdotool windowmove --sync "$preview" "$X" "$below" || xdotool windowmove "$preview" "$X" "$below"
sleep 0.5

# The launching window takes a click while the preview is open.
click "$services" 144 458                  # "Edit" below the service grid
edit=$(window "Edit Service") || fail "Service Detail's Edit did not react while the preview was open"
focus "$edit"
click "$edit" 468 339                      # "Cancel" in the button bar at y 317
gone "Edit Service" || fail "the service dialog did not close with Cancel"

# The preview takes a click although a modal window launched it.
focus "$preview"
click "$preview" 315 13                    # the tool bar's "Close"
gone "Print Preview" || fail "the preview did not take the click on its Close button"

# And the list window is still usable afterwards.
click "$services" 696 503                  # "Close"
gone "Service Detail"
focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
pid=
echo "the preview and the window that launched it both took clicks"
