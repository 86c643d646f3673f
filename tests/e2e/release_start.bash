#!/usr/bin/env bash
# Starts the program the README's first command builds (a release build) in a folder of its own,
# sees its main window painted, and ends it with Exit. ./test.sh runs it so that a build only
# the user makes is tested too. Argument: the release wrenfold executable.
set -euo pipefail

source "$(dirname "$0")/xdo_helpers.bash"
startProgram "$1"
main=$(window "Tembra Office - Wrenfold")
focus "$main"
sleep 0.5
shot="$work/main.png"
grab "$shot"
# The middle row of the 45-pixel title bar has its deep blue; the Exit bar its green.
expectPixel "$shot" "$main" 8 22 "16,132,208" "main window: title bar, middle row"
expectPixel "$shot" "$main" 8 367 "0,159,0" "main window: button bar, middle row"
click "$main" 941 367                      # "Exit"
waitForExit
echo "the release build starts, shows its main window and ends with Exit"
