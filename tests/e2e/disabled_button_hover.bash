#!/usr/bin/env bash
# A disabled gradient button under a real pointer: the toolkit still tells it that the pointer
# entered, and the button must keep its default look all the same. Uses the styled-controls
# gallery, whose "Disabled" button sits at 460,81 of its client area (75 by 25).
# Argument: the wf_gallery executable. Runs under xvfb-run and a window manager.
set -euo pipefail

source "$(dirname "$0")/xdo_helpers.bash"
work=$(mktemp -d)
"$1" >"$work/gallery.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

gallery=$(window "Wrenfold styled controls")
focus "$gallery"
read -r ox oy < <(clientOrigin "$gallery")
buttonArea="75x25+$((ox + 460))+$((oy + 81))"
xdotool mousemove --window "$gallery" 460 300
sleep 0.6
grab "$work/away.png"
xdotool mousemove --window "$gallery" 497 93
sleep 0.6                                  # a fade into the over look takes 200 ms
grab "$work/over.png"
changed=$(compare -metric AE -crop "$buttonArea" "$work/away.png" "$work/over.png" null: 2>&1 || true)
[ "$changed" = "0" ] ||
  fail "the disabled button changed its look under the pointer ($changed pixels differ)"
echo "a disabled button keeps its default look under the pointer"
