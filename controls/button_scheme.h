// The "standard button scheme" shared by every gradient button of the application. A window
// applies it first, then sets caption, glyph, hint, position, size, Color and Spacing.
#pragma once

namespace wf {

class TGradButton;

void applyStandardButtonScheme(TGradButton* button);

}  // namespace wf
