#!/usr/bin/env bash
# The windows met every day, looked at on the screen: the default error box and the information
# box show their whole caption in the title bar; the service grid of the service line window
# opens with its first row whole when the current service is far down; a double click on the
# line grid's title row and on its indicator column edits the line; the tab page's bar is 744
# pixels wide; a long word typed into the service note wraps inside the memo.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
source "$(dirname "$0")/xdo_helpers.bash"

readonly SHADED="229,229,229" GRID_BACKGROUND="240,240,240" BAR_BORDER="128,128,128"

# A visible window with this exact title other than the one given.
otherWindow() {
  local id
  for _ in $(seq 200); do
    for id in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true); do
      [ "$id" = "$2" ] || { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  fail "a second window '$1' did not appear"
}

# The runs of columns holding white title text in a window's title bar: "start-end" pairs,
# relative to the frame's left edge.
titleInkRuns() {
  local shot=$1 win=$2 x y w h
  read -r x y w h < <(frameRect "$win")
  convert "$shot" -crop "${w}x14+$x+$((y + 3))" +repage -depth 8 txt:- |
    awk -F'[ ,:()]+' 'NR > 1 && $3 > 235 && $4 > 235 && $5 > 235 { seen[$1] = 1 }
      END { for (c in seen) print c }' | sort -n |
    awk 'NR == 1 { s = $1; p = $1; next } $1 > p + 3 { printf "%d-%d ", s, p; s = $1 }
      { p = $1 } END { if (NR) printf "%d-%d", s, p; print "" }'
}

# Fails unless the title bar shows the caption whole: its text sits with room to spare between
# the window icon and the three buttons at the right (a cut caption is squeezed to fill the
# whole space with an ellipsis). Echoes the caption's ink width.
expectWholeCaption() {
  local shot=$1 win=$2 what=$3 runs count first last buttons
  read -r -a runs < <(titleInkRuns "$shot" "$win")
  count=${#runs[@]}
  [ "$count" -ge 4 ] || fail "$what: no caption found in the title bar (${runs[*]:-none})"
  first=${runs[0]%-*}
  last=${runs[count - 4]#*-}
  buttons=${runs[count - 3]%-*}
  [ "$first" -ge 30 ] && [ $((buttons - last)) -ge 12 ] ||
    fail "$what: caption squeezed between icon and buttons (ink ${runs[*]})"
  echo $((last - first))
}

startProgram "$program"
convert -size 64x48 xc:red "$work/photo.jpg"
printf '\xff\xd8\xff\xe0 not a picture' >"$work/bad.jpg"
main=$(window "Tembra Office - Wrenfold")
focus "$main"
grab "$work/main.png"
mainCaption=$(expectWholeCaption "$work/main.png" "$main" "main window")

# The vehicle dialog's picture button with a broken JPEG file: the default error box, captioned
# with the application title, as wide as the main window's caption needs.
openNewVehicleDialog
typeText "Volvo"
choosePicture() {
  click "$dialog" 676 118                  # "..." (664,61 in the content panel at y 45)
  local open
  open=$(window "Open")
  focus "$open"
  typeText "$1"
  key Return
  gone "Open"
}
choosePicture "$work/bad.jpg"
box=$(otherWindow "Tembra Office - Wrenfold" "$main")
sleep 0.5
grab "$work/box.png"
boxCaption=$(expectWholeCaption "$work/box.png" "$box" "default error box")
[ "$boxCaption" -eq "$mainCaption" ] ||
  fail "default error box: caption ink $boxCaption wide, the main window's is $mainCaption"
focus "$box"
key Return
sleep 0.5

# A good photo, then Copy: the information box.
focus "$dialog"
choosePicture "$work/photo.jpg"
click "$dialog" 676 150                    # copy (664,93 in the content panel)
info=$(window "Information")
sleep 0.5
grab "$work/info.png"
expectWholeCaption "$work/info.png" "$info" "information box" >/dev/null
focus "$info"
key Return
gone "Information"
focus "$dialog"
click "$dialog" 56 233                     # "Save"
gone "Add New Vehicle"
click "$vehicles" 696 503                  # "Close"
gone "Vehicle Detail"

# Eight services: more than the service grid of the line window shows, the last one current.
addServiceThroughWindows "Service 1"
for n in 2 3 4 5 6 7 8; do
  click "$services" 56 458                 # "New"
  dialog=$(window "Add New Service")
  typeText "Service $n"
  click "$dialog" 56 339                   # "Save"
  gone "Add New Service"
done
click "$services" 659 458                  # "View Service Line Detail"
lines=$(window "Service Line Detail")
focus "$lines"
sleep 0.5
grab "$work/lines.png"

# Down the shaded "Service Description" column, right of its text: the title row's bottom line,
# then one grid line per row. The first row is whole when it is as high as the next one.
read -r ox oy < <(clientOrigin "$lines")
marks=$(convert "$work/lines.png" -crop "1x148+$((ox + 370))+$((oy + 45))" +repage -depth 8 txt:- |
  awk -F'[ ,:()]+' -v shaded="$SHADED" -v empty="$GRID_BACKGROUND" '
    NR > 1 { colour = $3 "," $4 "," $5; y[NR - 2] = colour }
    END {
      for (i = 1; i < NR - 1; i++) {
        if (!title && y[i] == shaded) { printf "%d ", i - 1; title = 1 }
        else if (title && y[i] != shaded && y[i] != empty) printf "%d ", i
      }
    }')
read -r -a marks <<<"$marks"
[ "${#marks[@]}" -ge 3 ] || fail "service grid: rows not found (${marks[*]:-none})"
firstRow=$((marks[1] - marks[0]))
secondRow=$((marks[2] - marks[1]))
[ "$firstRow" -eq "$secondRow" ] ||
  fail "service grid: the first visible row is $firstRow pixels high, the next $secondRow"

# The lines tab: its bar (grey border at both ends) is the layout's 744 pixels wide.
barEdges=$(convert "$work/lines.png" -crop "752x1+$ox+$((oy + 440))" +repage -depth 8 txt:- |
  awk -F'[ ,:()]+' -v border="$BAR_BORDER" 'NR > 1 && ($3 "," $4 "," $5) == border {
      if (first == "") first = $1; last = $1 } END { print first, last }')
read -r barLeft barRight <<<"$barEdges"
[ $((barRight - barLeft + 1)) -eq 744 ] ||
  fail "lines tab: the bar runs from x $barLeft to $barRight, not 744 pixels"

# A line, then double clicks on the line grid's title row and on its indicator column.
click "$lines" 56 455                      # "New"
dialog=$(window "Add New Service Line")
typeText "Filter"
click "$dialog" 56 202                     # "Save"
gone "Add New Service Line"
doubleClickEdits() {
  xdotool mousemove --window "$lines" "$1" "$2"
  sleep 0.2
  xdotool click --repeat 2 --delay 80 1
  dialog=$(window "Edit Service Line")
  focus "$dialog"
  click "$dialog" 468 202                  # "Cancel"
  gone "Edit Service Line"
  focus "$lines"
}
doubleClickEdits 300 275                   # the title row of the line grid
doubleClickEdits 7 294                     # the indicator column beside the line
click "$lines" 696 503                     # "Close"
gone "Service Line Detail"

# A word longer than the service note is wide goes on in the memo's second line.
click "$services" 56 458                   # "New"
dialog=$(window "Add New Service")
focus "$dialog"
click "$dialog" 300 215                    # the note (192,152 in the content panel)
xdotool type --delay 4 "$(printf 'W%.0s' $(seq 120))"
sleep 0.5
grab "$work/note.png"
read -r ox oy < <(clientOrigin "$dialog")
ink=$(convert "$work/note.png" -crop "300x14+$((ox + 196))+$((oy + 218))" +repage -depth 8 txt:- |
  awk -F'[ ,:()]+' 'NR > 1 && $3 < 100 && $4 < 100 && $5 < 100 { n++ } END { print n + 0 }')
[ "$ink" -gt 50 ] || fail "service note: the long word does not go on in the second line"
click "$dialog" 468 339                    # "Cancel"
gone "Add New Service"
click "$services" 696 503                  # "Close"
gone "Service Detail"
focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
echo "whole captions, whole first rows, double clicks on titles and indicators, 744-pixel pages, wrapped notes"
