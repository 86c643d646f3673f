#include "controls/panel_presets.h"

#include "controls/grad_panel.h"
#include "framework/font_setup.h"

namespace wf {
namespace {

struct PresetValues {
  StyleColor color;
  QFont font;
  StyleColor fontColor;
  bool textShadow;
  bool showCaption;
  TGradCaptionPos captionPosition;
  int cornerWidth;
  int borderWidth;
  StyleColor borderColor;
  StyleColor outerColor;
  bool antialiased;
  bool gradient;
  StyleColor defaultFrom;
  StyleColor defaultTo;
  TGradientType gradientType;
};

PresetValues presetValues(PanelPreset preset) {
  const StyleColor panelGrey(223, 223, 227);
  const StyleColor white(255, 255, 255);
  const StyleColor captionBlue(0, 0, 206);
  const StyleColor frameGrey(128, 128, 128);
  const StyleColor silver(192, 192, 192);
  const QFont sansSerif = msSansSerif(11);
  using enum TGradCaptionPos;
  using enum TGradientType;
  switch (preset) {
    case PanelPreset::TitleBar:
      return {panelGrey,
              arial(29, true),
              white,
              false,
              true,
              cpMiddleCenter,
              0,
              1,
              frameGrey,
              clBtnFace,
              false,
              true,
              StyleColor(16, 132, 208),
              StyleColor(113, 184, 255),
              gtDoubleVert};
    case PanelPreset::ButtonBar:
      return {panelGrey,
              sansSerif,
              captionBlue,
              true,
              true,
              cpTopLeft,
              0,
              1,
              frameGrey,
              clBtnFace,
              false,
              true,
              StyleColor(0, 159, 0),
              StyleColor(3, 199, 82),
              gtDoubleVert};
    case PanelPreset::GreyBar:
      return {panelGrey,
              msSansSerif(11, true),
              white,
              false,
              false,
              cpMiddleCenter,
              0,
              1,
              frameGrey,
              clBtnFace,
              false,
              true,
              StyleColor(170, 170, 170),
              StyleColor(229, 229, 229),
              gtDoubleVert};
    case PanelPreset::ContentPanel:
      return {white,  sansSerif, captionBlue, true,  true,  cpTopLeft, 25,        3,
              silver, silver,    true,        false, white, panelGrey, gtVertical};
    case PanelPreset::GridFrame:
      return {white,  sansSerif, captionBlue, true,  false, cpTopLeft, 10,        5,
              silver, white,     true,        false, white, panelGrey, gtVertical};
  }
  return presetValues(PanelPreset::ContentPanel);
}

}  // namespace

void applyPanelPreset(TGradPanel* panel, PanelPreset preset) {
  const PresetValues values = presetValues(preset);
  panel->beginLoading();
  panel->setColor(values.color);
  panel->setFont(values.font);
  panel->setFontColor(values.fontColor);
  panel->setTextShadow(values.textShadow);
  panel->setShowCaption(values.showCaption);
  panel->setCaptionPosition(values.captionPosition);
  panel->setCornerWidth(values.cornerWidth);
  panel->setBorderWidth(values.borderWidth);
  panel->setBorderColor(values.borderColor);
  panel->setOuterColor(values.outerColor);
  panel->setTextShadowColor(clWhite);
  // Antialiased before Gradient, as a stored definition sets them.
  panel->setAntialiased(values.antialiased);
  panel->setGradient(values.gradient);
  panel->setDefaultFrom(values.defaultFrom);
  panel->setDefaultTo(values.defaultTo);
  panel->setGradientType(values.gradientType);
  panel->Loaded();
}

}  // namespace wf
