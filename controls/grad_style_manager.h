// A non-visual component holding a set of style values for styled controls. Controls register
// with it through their GradStyleManager; the manager keeps the list but pushes none of its
// values to them.
#pragma once

#include "controls/grad_colors.h"
#include "controls/grad_custom_control.h"

#include <QFont>
#include <QList>
#include <QObject>

namespace wf {

class TGradStyleManager : public QObject {
  Q_OBJECT
 public:
  explicit TGradStyleManager(QObject* parent = nullptr);
  // Tells every registered control that the manager is gone.
  ~TGradStyleManager() override;

  // Adds the control unless it is already listed.
  void registerControl(TGradCustomControl* control);
  // Removes the control; while the manager is being destroyed the list is left alone.
  void unregisterControl(TGradCustomControl* control);
  const QList<TGradCustomControl*>& registeredControls() const { return controls_; }

  TGradControlColors* Colors() { return &colors_; }
  const TGradControlColors* Colors() const { return &colors_; }
  bool ShowFocusRect() const { return showFocusRect_; }
  void setShowFocusRect(bool value) { showFocusRect_ = value; }
  bool HotTrack() const { return hotTrack_; }
  void setHotTrack(bool value) { hotTrack_ = value; }
  bool GradientBorder() const { return gradientBorder_; }
  void setGradientBorder(bool value) { gradientBorder_ = value; }
  bool TextShadow() const { return textShadow_; }
  void setTextShadow(bool value) { textShadow_ = value; }
  StyleColor CheckColor() const { return checkColor_; }
  void setCheckColor(StyleColor value) { checkColor_ = value; }
  TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
  void setFadeSpeed(TFadeSpeed value) { fadeSpeed_ = value; }
  StyleColor PanelColor() const { return panelColor_; }
  void setPanelColor(StyleColor value) { panelColor_ = value; }
  StyleColor BorderColor() const { return borderColor_; }
  void setBorderColor(StyleColor value) { borderColor_ = value; }
  TGradSplitterColors* SplitterColors() { return &splitterColors_; }
  const TGradSplitterColors* SplitterColors() const { return &splitterColors_; }
  QFont Font() const { return font_; }
  void setFont(const QFont& value) { font_ = value; }

  // Copies every published value of another manager; any other source throws
  // std::runtime_error "Cannot assign a <source class> to a TGradStyleManager".
  void assign(const QObject* source);

 private:
  QList<TGradCustomControl*> controls_;
  bool destroying_ = false;
  TGradControlColors colors_;
  bool showFocusRect_ = true;
  bool hotTrack_ = false;
  bool gradientBorder_ = true;
  bool textShadow_ = true;
  StyleColor checkColor_{0, 128, 0};
  TFadeSpeed fadeSpeed_ = TFadeSpeed::fsMedium;
  StyleColor panelColor_{223, 223, 227};
  StyleColor borderColor_{128, 128, 128};
  TGradSplitterColors splitterColors_;
  QFont font_;
};

}  // namespace wf
