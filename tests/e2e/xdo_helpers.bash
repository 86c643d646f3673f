# Helpers the real-window tests share: start the program in a folder of its own, find windows by
# their exact titles, click at client coordinates, type and press keys as a person would, grab
# the screen and probe its pixels. Sourced by the tests (not run on its own: tests/e2e registers
# only *.sh files). Every failing check names the window, the control and what was expected.

# Fails the test with a message.
fail() {
  echo "FAIL: $*" >&2
  local shot
  shot="${E2E_SHOTS:-/tmp}/e2e-failure-$$.png"
  import -window root "$shot" 2>/dev/null && echo "screen at the failure: $shot" >&2
  exit 1
}

# Copies the program into a fresh folder with an empty Data folder (or a copy of the folder
# given, or none when that is "none") and starts it. Sets: work (the folder), pid (the
# program's process).
startProgram() {
  local program=$1 data=${2:-}
  work=$(mktemp -d)
  cp "$program" "$work/wrenfold"
  case "$data" in
    "") mkdir "$work/Data" ;;
    none) ;;
    *) cp -r "$data" "$work/Data" ;;
  esac
  startAgain
}

# Starts the copy in $work again (after it ended or was killed). Every message box it shows is
# also written to $work/messages.log (see boxText).
startAgain() {
  WRENFOLD_MESSAGE_LOG="$work/messages.log" "$work/wrenfold" >"$work/stdout.log" 2>"$work/stderr.log" &
  pid=$!
  trap 'kill -9 "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
}

# Waits up to 20 seconds for the program to end; fails if it does not.
waitForExit() {
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
    sleep 0.1
  done
  fail "the program did not end after Exit"
}

# Finds a visible window by its exact title, waiting up to 20 seconds.
window() {
  local id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  fail "window '$1' did not appear"
}

# Waits up to 20 seconds until no visible window has the exact title.
gone() {
  for _ in $(seq 200); do
    if [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true)" ]; then return 0; fi
    sleep 0.1
  done
  fail "window '$1' did not close"
}

# Activates a window through the window manager, as a click on its frame would.
focus() {
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" || true
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
  if LC_ALL=C.UTF-8 grep -q '[^ -~]' <<<"$1"; then
    # xdotool types a letter outside the keyboard map by remapping a spare key for it; on a
    # busy machine the program may read the key before the new map, and the letter is lost.
    # One letter at a time, with time for the map to arrive, types them all.
    local letter
    while IFS= read -r letter; do
      xdotool type --delay 30 "$letter"
      sleep 0.15
    done < <(LC_ALL=C.UTF-8 grep -o . <<<"$1")
  else
    xdotool type --delay 30 "$1"
  fi
  sleep 0.2
}

# Presses keys (xdotool key names: Tab, shift+Tab, Return, Escape, space, ...).
key() {
  xdotool key --delay 60 "$@"
  sleep 0.3
}

# Clicks into an edit, selects what it holds and types over it.
replaceText() {
  click "$1" "$2" "$3"
  xdotool key ctrl+a
  sleep 0.1
  typeText "$4"
}

# Top-left corner of a window's client area on the screen: "x y".
clientOrigin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'
}

# Client size of a window: "width height".
clientSize() {
  xwininfo -id "$1" | awk '/^  Width/ {w=$2} /^  Height/ {h=$2} END {print w, h}'
}

# A window's outer frame on the screen, the window manager's decorations included: "x y w h".
frameRect() {
  local cx cy w h left right top bottom
  read -r cx cy < <(clientOrigin "$1")
  read -r w h < <(clientSize "$1")
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null |
    sed -n 's/.*= //; s/,//gp')
  left=${left:-0} right=${right:-0} top=${top:-0} bottom=${bottom:-0}
  echo $((cx - left)) $((cy - top)) $((w + left + right)) $((h + top + bottom))
}

# Checks that a window's frame is centred on another window's frame (to a pixel of rounding).
expectCentredOn() {
  local win=$1 other=$2 what=$3 x y w h ox oy ow oh dx dy
  read -r x y w h < <(frameRect "$win")
  read -r ox oy ow oh < <(frameRect "$other")
  dx=$(((2 * x + w) - (2 * ox + ow)))
  dy=$(((2 * y + h) - (2 * oy + oh)))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
    fail "$what: frame at $x,$y ${w}x$h is not centred on the main window's frame at $ox,$oy ${ow}x$oh"
}

# Grabs the whole screen into a PNG file.
grab() { import -window root "$1"; }

# The colour of a pixel of a grabbed screen as "r,g,b".
pixelOf() {
  convert "$1" +repage -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -1
}

# Checks the colour of a pixel at client coordinates of a window on a grabbed screen.
# Usage: expectPixel <png> <window id> <x> <y> <r,g,b> <what is there>
expectPixel() {
  local shot=$1 win=$2 x=$3 y=$4 want=$5 what=$6 ox oy got
  read -r ox oy < <(clientOrigin "$win")
  got=$(pixelOf "$shot" $((ox + x)) $((oy + y)))
  [ "$got" = "$want" ] || fail "$what: pixel ($x,$y) of window $win is ($got), expected ($want)"
}

# Fails unless the table file holds each of the given texts (cdstool dump).
expectInTable() {
  local cdstool=$1 file=$2 dump
  shift 2
  [ -f "$file" ] || fail "$(basename "$file") was not written"
  dump=$("$cdstool" dump "$file")
  for expected in "$@"; do
    grep -qF -- "$expected" <<<"$dump" || fail "$(basename "$file") lacks $expected; it holds:
$dump"
  done
}

# From the main window ($main): Vehicle Details, then New. Sets $vehicles and $dialog to the
# vehicle window and the "Add New Vehicle" dialog, which has the focus.
openNewVehicleDialog() {
  focus "$main"
  click "$main" 104 102                    # "Vehicle Details"
  vehicles=$(window "Vehicle Detail")
  focus "$vehicles"
  click "$vehicles" 56 215                 # "New"
  dialog=$(window "Add New Vehicle")
  focus "$dialog"
}

# From the main window ($main): Vehicle Details, New, the make (and registration) typed into the
# vehicle dialog, Save, Close. Leaves the focus on the main window.
addVehicleThroughWindows() {
  local make=$1 registration=${2:-} vehicles dialog
  openNewVehicleDialog
  replaceText "$dialog" 272 81 "$make"     # make (192,24 inside the content panel at y 45)
  [ -z "$registration" ] || replaceText "$dialog" 272 177 "$registration"
  click "$dialog" 56 233                   # "Save"
  gone "Add New Vehicle"
  click "$vehicles" 696 503                # "Close"
  gone "Vehicle Detail"
  focus "$main"
}

# From the main window ($main): Service Details, then New with the description typed (the date
# edit holds today already) and Save. Leaves the service window open and sets $services.
addServiceThroughWindows() {
  local dialog
  focus "$main"
  click "$main" 104 194                    # "Service Details"
  services=$(window "Service Detail")
  focus "$services"
  click "$services" 56 458                 # "New" in the lower grey bar at y 436
  dialog=$(window "Add New Service")
  focus "$dialog"
  replaceText "$dialog" 272 81 "$1"        # description
  click "$dialog" 56 339                   # "Save" in the button bar at y 317
  gone "Add New Service"
}

# Waits up to 20 seconds for a message box (a visible window titled "Error", "Information" or
# the program's title) that is none of the windows given, and prints its id.
messageBox() {
  local id
  for _ in $(seq 200); do
    for id in $(xdotool search --onlyvisible --name '^(Error|Information|Tembra Office - Wrenfold)$' \
      2>/dev/null || true); do
      case " $* " in *" $id "*) ;; *) echo "$id"; return 0 ;; esac
    done
    sleep 0.1
  done
  fail "no message box appeared"
}

# What the message box on the screen says ("caption: text"): the program logs each box as it
# shows it, so the last line of its log is the box that is open.
boxText() {
  [ -n "$(xdotool search --onlyvisible --name "^$(xdotool getwindowname "$1")\$" 2>/dev/null)" ] ||
    fail "the message box is not on the screen"
  tail -n 1 "$work/messages.log" 2>/dev/null || fail "the program logged no message box"
}
