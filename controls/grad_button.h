// The push button of every window: a vertical two-colour gradient inside a one-pixel rounded
// border, an optional glyph beside a centred caption, a ten-tick fade into the over look when the
// mouse enters, the clicked look while the left button is held, the parent dialog's modal result
// on click, Enter/Escape/Space handling and latching groups.
#pragma once

#include "controls/grad_colors.h"
#include "controls/grad_custom_control.h"
#include "controls/gradient_draw.h"
#include "framework/form_base.h"

#include <QImage>
#include <QPointer>
#include <QRegion>

namespace wf {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The caption rectangle once room is made for a glyph of glyphSize (client is the whole button).
QRect buttonTextRect(TButtonLayout layout, const QRect& client, const QSize& glyphSize,
                     int spacing);
// Top-left corner of the glyph: textRect from buttonTextRect, textSize the caption's width and
// height, hasCaption whether a caption is shown.
QPoint buttonGlyphPosition(TButtonLayout layout, const QRect& textRect, const QSize& buttonSize,
                           const QSize& textSize, const QSize& glyphSize, int spacing,
                           bool hasCaption);

class TGradButton : public TGradCustomControl {
  Q_OBJECT
 public:
  explicit TGradButton(QWidget* parent = nullptr);
  ~TGradButton() override;

  TGradControlColors* Colors() { return &colors_; }
  const TGradControlColors* Colors() const { return &colors_; }

  // Copied into the parent window's modal result on Click: a nonzero result closes the window
  // once the click handlers have run, 0 (none) clears the result and keeps it open. The window
  // is a FormBase (its setModalResult) or any other QDialog (QDialog::done).
  int ModalResult() const { return modalResult_; }
  void setModalResult(int value) { modalResult_ = value; }
  void setModalResult(wf::ModalResult value) { modalResult_ = static_cast<int>(value); }

  // Drawn with its bottom-left pixel's colour transparent.
  const QImage& Glyph() const { return glyph_; }
  void setGlyph(const QImage& glyph);
  // Pixels between glyph and caption; a negative value stores 0.
  int Spacing() const { return spacing_; }
  void setSpacing(int value) { spacing_ = value < 0 ? 0 : value; }
  TButtonLayout Layout() const { return layout_; }
  using QWidget::setLayout;
  void setLayout(TButtonLayout value);

  bool ShowFocusRect() const { return showFocusRect_; }
  void setShowFocusRect(bool value);
  // Caption in Colors()->HotTrack() while the mouse is inside.
  bool HotTrack() const { return hotTrack_; }
  void setHotTrack(bool value);
  // Enter anywhere in the window clicks a Default button; Escape clicks a Cancel button.
  bool Default() const { return default_; }
  void setDefault(bool value);
  bool Cancel() const { return cancel_; }
  void setCancel(bool value) { cancel_ = value; }
  // The clicked look leaves a 3-pixel ring of the normal look.
  bool GradientBorder() const { return gradientBorder_; }
  void setGradientBorder(bool value);

  // Latching: only for GroupIndex above 0. Down true releases the other buttons of the group
  // (same parent, same GroupIndex); Down false is refused unless AllowAllUp or another button of
  // the group is down.
  int GroupIndex() const { return groupIndex_; }
  void setGroupIndex(int value) { groupIndex_ = value; }
  bool AllowAllUp() const { return allowAllUp_; }
  void setAllowAllUp(bool value) { allowAllUp_ = value; }
  bool Down() const { return down_; }
  void setDown(bool value);

  TGradientType GradientType() const { return gradientType_; }
  void setGradientType(TGradientType value);

  // The three gradients, rendered on size and colour changes only.
  const QImage& defaultBuffer() const { return defaultBuffer_; }
  const QImage& overBuffer() const { return overBuffer_; }
  const QImage& clickedBuffer() const { return clickedBuffer_; }

  // How much of the over and the clicked look is mixed in (0..100), and the mouse state.
  int overLevel() const { return FOverLevel; }
  int clickLevel() const { return FClickLevel; }
  bool mouseInside() const { return FMouseInside; }
  bool pressed() const { return FPressed; }

  void RebuildBuffers() override;
  // Sets the modal result, toggles a latching button, emits clicked().
  void Click() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

  void DoEnabledChanged() override;
  void DoFocusChanged() override;
  void DoMouseDown() override;
  void DoMouseUp() override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  void DoResize() override;

 private:
  // Enter and Escape reach the window when the focused control leaves them; the button watches
  // its window for them.
  void watchWindow();
  bool handleDialogKey(const QKeyEvent& key);
  bool canTakeFocus() const;
  QList<TGradButton*> groupMates() const;
  void fade(void (TGradCustomControl::*step)());
  void drawFrame();
  void drawCaptionAndGlyph();
  void drawFocusRect();

  TGradControlColors colors_;
  QImage defaultBuffer_;
  QImage overBuffer_;
  QImage clickedBuffer_;
  QImage work_;
  QRegion borderRing_;
  QImage glyph_;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int spacing_ = 2;
  int modalResult_ = 0;
  bool showFocusRect_ = true;
  bool hotTrack_ = false;
  bool default_ = false;
  bool cancel_ = false;
  bool gradientBorder_ = true;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  TGradientType gradientType_ = TGradientType::gtVertical;
  QPointer<QWidget> watchedWindow_;
};

}  // namespace wf
