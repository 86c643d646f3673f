#!/usr/bin/env bash
# A typing slip in a date is refused where it was typed: a service dated 16/03/23 is edited, the
# date typed over as 31/02/26 and Save pressed with the mouse; an error box quotes the text, the
# dialog stays open with the text still selected in the date edit, and the date typed next is
# what Exit stores. The slip never becomes today's date.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
cdstool=$2
source "$(dirname "$0")/xdo_helpers.bash"

startProgram "$program"
main=$(window "Tembra Office - Wrenfold")
addVehicleThroughWindows "Volvo" "DATE 1"

focus "$main"
click "$main" 104 194                      # "Service Details"
services=$(window "Service Detail")
focus "$services"
click "$services" 56 458                   # "New"
dialog=$(window "Add New Service")
focus "$dialog"
replaceText "$dialog" 272 81 "Brakes"      # description
replaceText "$dialog" 272 112 "160323"     # date: 16/03/23
click "$dialog" 56 339                     # "Save"
gone "Add New Service"

click "$services" 144 458                  # "Edit"
dialog=$(window "Edit Service")
focus "$dialog"
replaceText "$dialog" 272 112 "310226"     # 31/02/26: no such day
click "$dialog" 56 339                     # "Save"
box=$(messageBox "$main" "$services" "$dialog")
text=$(boxText "$box")
# The text as the edit holds it, blanks of the year positions included; the refused Save or the
# edit itself reports it.
grep -qE "^[^:]+: ''31/02/26 *'' is not a valid date\.?$" <<<"$text" ||
  fail "the refusal box says: $text"
key Return
sleep 0.5
[ -n "$(xdotool search --onlyvisible --name '^Edit Service$' 2>/dev/null || true)" ] ||
  fail "Save closed the dialog although the date was refused"

# The focus is back in the date edit with its text selected: typing replaces the slip.
focus "$dialog"
typeText "170323"
click "$dialog" 56 339                     # "Save"
gone "Edit Service"
click "$services" 696 503                  # "Close"
gone "Service Detail"

focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
expectInTable "$cdstool" "$work/Data/Service.cds" '"Brakes"' '"dateTime": "2023-03-17 '
if "$cdstool" dump "$work/Data/Service.cds" | grep -qF "\"dateTime\": \"$(date +%F) "; then
  fail "the service was dated today"
fi
echo "date slip refused, stored date kept"
