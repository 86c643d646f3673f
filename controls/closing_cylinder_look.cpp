#include "controls/closing_cylinder_look.h"

#include "controls/grad_style_color.h"
#include "controls/progress_cyl.h"
#include "framework/font_setup.h"

namespace wf {

void applyClosingCylinderLook(TProgressCyl& bar) {
  // The orange glass shading on a white ground, without bevels: a custom look, not a preset.
  bar.setColor(StyleColor(255, 255, 255));
  bar.setBevelInner(TProgressCyl::bvNone);
  bar.setBevelOuter(TProgressCyl::bvNone);
  bar.setBevelWidth(1);
  bar.setBorderWidth(2);
  bar.setBevelColor(StyleColor(255, 255, 255));
  bar.setBackBorderColor(StyleColor(0, 0, 0));
  bar.setBackColor(StyleColor(192, 192, 192));
  bar.setForeColor(StyleColor(255, 128, 0));
  bar.setForeLineColor(StyleColor(128, 0, 0));
  for (TPCColorStyle* style : {&bar.ForeStyle(), &bar.BackStyle()}) {
    style->setIntensityRGB(255);
    style->setIntensity(4);
    style->setIntensityFactor(-1);
    style->setRangeRGB(255);
    style->setColorRGB(255);
    style->setColorFactor(1);
    style->setLightAngle(-3);
  }
  bar.setCylinderEffect(ceMaximum);
  bar.setShowText(false);
  bar.setText("%");
  bar.setTextDone("Complete");
  bar.setFontEffect(feNone);
  bar.setFontShadowColor(StyleColor(0, 0, 0));
  bar.setFont(arial(12, true));
  bar.setFontColor(StyleColor(0, 0, 0));
  bar.setOrientation(pbHorizontal);
  bar.setMin(0);
  bar.setMax(5);
  bar.setPosition(0);
  bar.setStep(1);
  bar.setStopAtMax(true);
  bar.setProEffect(peCustom);
}

}  // namespace wf
