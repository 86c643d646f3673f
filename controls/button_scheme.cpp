#include "controls/button_scheme.h"

#include "controls/grad_button.h"
#include "framework/font_setup.h"

namespace wf {

void applyStandardButtonScheme(TGradButton* button) {
  TGradControlColors fresh;  // the scheme's colours are the colour set's defaults
  button->Colors()->assign(&fresh);
  button->setGradientType(TGradientType::gtVertical);
  button->setFadeSpeed(TFadeSpeed::fsMedium);
  button->setTextShadow(false);
  button->setShowCaption(true);
  // A focused button shows it: the dotted rectangle is the only sign that Space and Enter will
  // act on it.
  button->setShowFocusRect(true);
  button->setHotTrack(false);
  button->setGradientBorder(false);
  button->setDown(false);
  button->setGroupIndex(0);
  button->setAllowAllUp(false);
  button->setDefault(false);
  button->setCancel(false);
  button->setModalResult(0);
  button->setLayout(TButtonLayout::blGlyphLeft);
  button->setFont(msSansSerif(11));
  button->setFontColor(StyleColor(0, 0, 0));
}

}  // namespace wf
