// Base of the styled controls (gradient panel and gradient button): caption, colour and font
// colour, the mouse state (inside, pressed), focus notifications and the fade timer that moves
// the over and clicked looks in steps.
#pragma once

#include "controls/grad_style_color.h"

#include <QBasicTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace wf {

class TGradStyleManager;

enum class TFadeSpeed { fsSlow, fsMedium, fsFast, fsVeryFast };

// Milliseconds between fade ticks: 40, 20, 12 or 8.
int fadeInterval(TFadeSpeed speed);

class TGradCustomControl : public QWidget {
  Q_OBJECT
 public:
  explicit TGradCustomControl(QWidget* parent = nullptr);
  ~TGradCustomControl() override;

  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);

  bool TextShadow() const { return textShadow_; }
  void setTextShadow(bool value);
  bool ShowCaption() const { return showCaption_; }
  void setShowCaption(bool value);

  // The control's colour; a control whose ParentColor is set follows its styled parent's.
  StyleColor Color() const { return color_; }
  void setColor(StyleColor value);  // clears ParentColor
  bool ParentColor() const { return parentColor_; }
  void setParentColor(bool value);

  // Colour of the caption text (the widget's font() gives face and size).
  StyleColor fontColor() const { return fontColor_; }
  void setFontColor(StyleColor value);

  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void setTabStop(bool value);

  TFadeSpeed FadeSpeed() const { return FFadeSpeed; }
  void setFadeSpeed(TFadeSpeed value) { FFadeSpeed = value; }

  // Registers this control with the manager (and leaves the one it had); null unregisters.
  TGradStyleManager* GradStyleManager() const { return styleManager_; }
  void setGradStyleManager(TGradStyleManager* manager);
  // The manager is going away: forget it without touching its list.
  void styleManagerRemoved(TGradStyleManager* manager);

  QString About() const;

  // Renders the cached bitmaps after a colour set or the geometry changed.
  virtual void RebuildBuffers() = 0;

  bool fadeTimerActive() const { return fadeTimer_.isActive(); }
  // One tick of the fade timer, as the timer runs it: the current step, failures swallowed.
  void fadeTick();

  // The two steps a fade tick runs (FFadeStep holds one of them).
  virtual void FadeOutStep();
  virtual void FadeInStep();

 signals:
  void mouseEntered();  // OnMouseEnter
  void mouseLeft();     // OnMouseLeave
  void clicked();       // OnClick

 protected:
  virtual void DoEnabledChanged();
  virtual void DoFocusChanged() {}
  virtual void DoMouseDown();
  virtual void DoMouseUp() {}
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  virtual void DoMouseMove() {}
  virtual void DoParentColorChanged() {}
  virtual void DoResize() {}
  virtual void DoTextChanged();
  virtual void DoColorChanged();
  virtual void DoFontChanged() {}
  // A release of the left button inside the control (or a key that clicks).
  virtual void Click();

  // (Re)starts the fade timer at the interval of FFadeSpeed; each tick calls FFadeStep.
  void StartFadeTimer();
  void stopFadeTimer() { fadeTimer_.stop(); }

  // Whether the pointer is over the control now (hover events also reach a disabled control).
  bool pointerInside() const { return hoverInside_; }

  // Takes a colour from the parent without clearing ParentColor.
  void takeColor(StyleColor value);
  // Parent colour for ParentColor: a styled parent's Color, else the parent's window colour.
  StyleColor parentStyleColor() const;

  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  int FOverLevel = 0;   // 0..100, how much of the over look is mixed in
  int FClickLevel = 0;  // 0 or 100, the clicked look
  bool FMouseInside = false;
  bool FPressed = false;  // left button held on the control, or latched down
  TFadeSpeed FFadeSpeed = TFadeSpeed::fsMedium;
  void (TGradCustomControl::*FFadeStep)() = &TGradCustomControl::FadeOutStep;

 private:
  void setHoverInside(bool inside);
  void notifyStyledChildrenOfColor();

  QString caption_;
  bool textShadow_ = true;
  bool showCaption_ = true;
  StyleColor color_ = clBtnFace;
  bool parentColor_ = false;
  StyleColor fontColor_ = clWindowText;
  TGradStyleManager* styleManager_ = nullptr;
  QBasicTimer fadeTimer_;
  QMetaObject::Connection focusWatch_;
  // Where the pointer really is; FMouseInside may stay set (a latched button keeps it).
  bool hoverInside_ = false;
  bool leftHeld_ = false;
};

}  // namespace wf
