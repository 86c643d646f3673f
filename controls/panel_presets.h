// The five appearance presets of the gradient panel that every window uses. A window applies
// one, then sets position, size, alignment, caption and whatever differs.
#pragma once

namespace wf {

class TGradPanel;

enum class PanelPreset {
  TitleBar,      // "title bar style": blue tube gradient, centred 29 px bold white caption
  ButtonBar,     // "button bar style": green tube gradient holding the closing buttons
  GreyBar,       // "grey bar style": grey tube gradient next to a grid, caption not shown
  ContentPanel,  // "content panel style": white body, silver antialiased rounded border
  GridFrame,     // "grid frame style": rounded silver frame around a grid or a picture
};

// Sets every appearance property of the preset and renders the body once.
void applyPanelPreset(TGradPanel* panel, PanelPreset preset);

}  // namespace wf
