// The font names the windows and reports are designed with, mapped onto fonts every machine has,
// so text metrics are the same everywhere.
#pragma once

#include <QFont>
#include <QString>

namespace wf {

// Registers Arial -> Liberation Sans and MS Sans Serif -> a sans font. Call once at start-up,
// before any window is made; calling it again does nothing new.
void installFontSubstitutions();

// "MS Sans Serif" at a pixel size (the designs give 11 px and 13 px).
QFont msSansSerif(int pixelSize, bool bold = false);
// "Arial" at a pixel size.
QFont arial(int pixelSize, bool bold = false);

}  // namespace wf
