#!/usr/bin/env bash
# A prepared report saved from the preview window and loaded again: the service report of one
# service is previewed and saved; a second service is added, so a new preview differs; loading
# the saved file into that preview shows exactly the pages first seen.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
source "$(dirname "$0")/xdo_helpers.bash"

# Toolbar of the preview window: Save and Load, and Close.
readonly SAVE_X=252 LOAD_X=275 CLOSE_X=315 TOOLBAR_Y=13

startProgram "$program"
saved="$work/oil.qrp"
main=$(window "Tembra Office - Wrenfold")
addVehicleThroughWindows "Volvo"

addService() {
  click "$services" 56 458                 # "New"
  local dialog
  dialog=$(window "Add New Service")
  typeText "$1"
  click "$dialog" 56 339                   # "Save"
  gone "Add New Service"
}

# Previews the service report and waits until its page is drawn; grabs the preview into $1.
previewInto() {
  click "$services" 56 215                 # "Print..."
  preview=$(window "Print Preview")
  sleep 1.5
  grab "$1"
}

# The preview window's client area of a grab, cut out for comparison.
cutPreview() {
  local ox oy w h
  read -r ox oy < <(clientOrigin "$preview")
  read -r w h < <(clientSize "$preview")
  convert "$1" -crop "${w}x$((h - 60))+$ox+$((oy + 30))" +repage "$2"
}

addServiceThroughWindows "Oil change"

previewInto "$work/first.png"
cutPreview "$work/first.png" "$work/first-page.png"
click "$preview" $SAVE_X $TOOLBAR_Y
window "Save report" >/dev/null
typeText "$saved"
key Return
gone "Save report"
[ -s "$saved" ] || fail "Save report: $saved was not written"
grep -qa " EMF" "$saved" || fail "Save report: $saved holds no recorded page"
click "$preview" $CLOSE_X $TOOLBAR_Y
gone "Print Preview"

addService "Brakes"
previewInto "$work/second.png"
cutPreview "$work/second.png" "$work/second-page.png"
if [ "$(compare -metric AE "$work/first-page.png" "$work/second-page.png" null: 2>&1)" = "0" ]; then
  fail "Print Preview: the report with two services looks like the one with one"
fi
click "$preview" $LOAD_X $TOOLBAR_Y
window "Load report" >/dev/null
typeText "$saved"
key Return
gone "Load report"
sleep 1
grab "$work/loaded.png"
cutPreview "$work/loaded.png" "$work/loaded-page.png"
differing=$(compare -metric AE "$work/first-page.png" "$work/loaded-page.png" null: 2>&1 || true)
[ "$differing" = "0" ] ||
  fail "Load report: the loaded pages differ from the saved ones in $differing pixels"
click "$preview" $CLOSE_X $TOOLBAR_Y
gone "Print Preview"
click "$services" 696 503                  # "Close"
gone "Service Detail"
focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
echo "a prepared report saved from the preview loads back to the same pages"
