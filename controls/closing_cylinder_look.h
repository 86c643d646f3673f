// The look the closing window stores for its progress cylinder: orange glass shading on a white
// ground without bevels, range 0 to 5, no text. A custom look, not one of the presets; the
// controls gallery shows it too.
#pragma once

namespace wf {

class TProgressCyl;

void applyClosingCylinderLook(TProgressCyl& bar);

}  // namespace wf
