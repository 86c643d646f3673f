#!/usr/bin/env bash
# Print prints the pages the preview shows, not what the tables hold by then: the service report
# of the first vehicle is previewed from the vehicle window, that window is closed (the preview
# stays) and the second vehicle is chosen in the main window; Printer setup into a PDF file and
# Print then give a PDF whose text is that of the stored pages (first vehicle). With no printer
# installed, Print before any Printer setup offers the print dialog, and printing into a PDF file
# from there works as well. Load of a file that does not exist is answered with a plain box.
# Arguments: the wrenfold executable and the cdstool executable. Runs under xvfb-run and a
# window manager.
set -euo pipefail

program=$1
source "$(dirname "$0")/xdo_helpers.bash"

# Toolbar of the preview window.
readonly SETUP_X=196 PRINT_X=219 SAVE_X=252 LOAD_X=275 CLOSE_X=315 TOOLBAR_Y=13

# No printing system to reach: no printer is installed for this program.
export CUPS_SERVER="/nonexistent/cups-socket-$$"

# Texts of the pages of a prepared-report file, one drawn text a line, in drawing order.
prpText() {
  perl -e '
    local $/; open(my $f, "<:raw", $ARGV[0]) or die "cannot read $ARGV[0]\n"; my $d = <$f>;
    my $count = unpack("V", substr($d, 8, 4)); my $at = 128;
    for my $page (1 .. $count) {
      my $next = unpack("V", substr($d, $at + 4, 4));
      my $emf = substr($d, $at + 8, $next - $at - 12);
      my $r = unpack("V", substr($emf, 4, 4));
      while ($r + 8 <= length $emf) {
        my ($type, $size) = unpack("VV", substr($emf, $r, 8));
        last if $type == 14 || $size < 8;
        if ($type == 0x54) {
          my ($chars, $off) = unpack("VV", substr($emf, $r + 44, 8));
          my $text = pack("U*", unpack("v*", substr($emf, $r + $off, 2 * $chars)));
          binmode STDOUT, ":utf8"; print "$text\n";
        }
        $r += $size;
      }
      $at = $next;
    }' "$1"
}

# Text with every space and line break taken out, for comparing layouts of the same text.
squeezed() { tr -d ' \t\n\f\r' <"$1"; }

# In the open print dialog: with no printer its only entry, "Print to File (PDF)", is chosen;
# the output file's name is typed (Alt+F reaches the field) and the dialog confirmed.
printIntoPdf() {
  local dialog=$1 file=$2
  focus "$dialog"
  key alt+f ctrl+a
  typeText "$file"
  key Return
  gone "Print"
}

startProgram "$program"
main=$(window "Tembra Office - Wrenfold")
addVehicleThroughWindows "Volvo" "AB12 CDE"
addServiceThroughWindows "Oil change"
click "$services" 696 503                  # "Close"
gone "Service Detail"
addVehicleThroughWindows "Saab" "XY98 ZZZ"
addServiceThroughWindows "Brake pads"
click "$services" 696 503                  # "Close"
gone "Service Detail"

# Vehicle 1 in the main window, then its service report from the vehicle window.
focus "$main"
click "$main" 450 126                      # Volvo, vehicle 1, in the second row
click "$main" 104 102                      # "Vehicle Details"
vehicles=$(window "Vehicle Detail")
focus "$vehicles"
click "$vehicles" 58 456                   # "Print..." on the Services tab
preview=$(window "Print Preview")
sleep 1.5

# The vehicle window closes; the preview stays. Vehicle 2 becomes current in the main window.
focus "$vehicles"
click "$vehicles" 696 503                  # "Close"
gone "Vehicle Detail"
window "Print Preview" >/dev/null
focus "$main"
click "$main" 450 108                      # Saab, vehicle 2, in the first row
sleep 0.5

# The pages on screen, saved as a prepared report: their text is what must be printed.
focus "$preview"
click "$preview" $SAVE_X $TOOLBAR_Y
window "Save report" >/dev/null
typeText "$work/shown.PRP"
key Return
gone "Save report"
prpText "$work/shown.PRP" >"$work/stored.txt"
grep -q "Volvo" "$work/stored.txt" || fail "the preview's pages do not show vehicle 1: $(cat "$work/stored.txt")"

# Print before any Printer setup: with no printer the print dialog comes up and prints into a
# PDF file.
click "$preview" $PRINT_X $TOOLBAR_Y
dialog=$(window "Print") || fail "Print without a printer offered no print dialog"
printIntoPdf "$dialog" "$work/first.pdf"
for _ in $(seq 100); do [ -s "$work/first.pdf" ] && break; sleep 0.1; done
[ -s "$work/first.pdf" ] || fail "Print into a PDF file wrote no $work/first.pdf"

# Printer setup into another PDF file, then Print.
focus "$preview"
click "$preview" $SETUP_X $TOOLBAR_Y
dialog=$(window "Print") || fail "Printer setup showed no print dialog"
printIntoPdf "$dialog" "$work/second.pdf"
[ ! -e "$work/second.pdf" ] || fail "Printer setup printed at once"
focus "$preview"
click "$preview" $PRINT_X $TOOLBAR_Y
for _ in $(seq 100); do [ -s "$work/second.pdf" ] && break; sleep 0.1; done
[ -s "$work/second.pdf" ] || fail "Print after Printer setup wrote no $work/second.pdf"

for pdf in first second; do
  pdftotext -raw "$work/$pdf.pdf" "$work/$pdf.txt"
  grep -q "Saab" "$work/$pdf.txt" && fail "$pdf.pdf holds vehicle 2, which the preview does not show"
  [ "$(squeezed "$work/$pdf.txt")" = "$(squeezed "$work/stored.txt")" ] ||
    fail "$pdf.pdf differs from the pages on screen:
--- printed
$(cat "$work/$pdf.txt")
--- on screen
$(cat "$work/stored.txt")"
done

# Load of a file that does not exist: the open dialog takes the name and closes; the preview
# answers with its plain box (captioned like the main window) and keeps its pages.
appWindows() { xdotool search --onlyvisible --name "^Tembra Office - Wrenfold\$" 2>/dev/null | wc -l; }
focus "$preview"
click "$preview" $LOAD_X $TOOLBAR_Y
window "Load report" >/dev/null
typeText "$work/missing.PRP"
key Return
gone "Load report"
for _ in $(seq 50); do [ "$(appWindows)" -ge 2 ] && break; sleep 0.1; done
[ "$(appWindows)" -eq 2 ] || fail "Load of a missing file showed no message box"
box=$(xdotool search --onlyvisible --name "^Tembra Office - Wrenfold\$" | grep -vx "$main" | head -1)
focus "$box"
key Return
for _ in $(seq 50); do [ "$(appWindows)" -eq 1 ] && break; sleep 0.1; done
[ "$(appWindows)" -eq 1 ] || fail "the message box did not close with Return"
window "Print Preview" >/dev/null

click "$preview" $CLOSE_X $TOOLBAR_Y
gone "Print Preview"
focus "$main"
click "$main" 941 367                      # "Exit"
waitForExit
echo "the printout holds the pages on screen after the current vehicle changed, also without a printer; Load of a missing file gets a plain box"
