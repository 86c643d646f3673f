// The container every window is built from: a square or rounded body with a border, filled with
// a solid colour, a two-colour gradient, or a solid colour with an antialiased rounded edge, and
// a caption at one of ten positions. The body is rendered into a cached bitmap only when its
// geometry or colours change; a repaint copies that bitmap and draws the caption.
#pragma once

#include "controls/grad_custom_control.h"
#include "controls/gradient_draw.h"

#include <QImage>

namespace wf {

enum class TGradCaptionPos {
  cpGroupBox,
  cpTopLeft,
  cpTopCenter,
  cpTopRight,
  cpMiddleLeft,
  cpMiddleCenter,
  cpMiddleRight,
  cpBottomLeft,
  cpBottomCenter,
  cpBottomRight,
};

class TGradPanel : public TGradCustomControl {
  Q_OBJECT
 public:
  explicit TGradPanel(QWidget* parent = nullptr);

  TGradCaptionPos CaptionPosition() const { return captionPosition_; }
  void setCaptionPosition(TGradCaptionPos value);
  // Width and height of the ellipse rounding each corner; 0 is square. Negative values are
  // ignored.
  int CornerWidth() const { return cornerWidth_; }
  void setCornerWidth(int value);
  // Border thickness; 0 or less is ignored.
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int value);
  StyleColor BorderColor() const { return borderColor_; }
  void setBorderColor(StyleColor value);
  // Colour outside the rounded body.
  StyleColor OuterColor() const { return outerColor_; }
  void setOuterColor(StyleColor value);
  StyleColor TextShadowColor() const { return textShadowColor_; }
  void setTextShadowColor(StyleColor value);
  // Antialiased and Gradient are never both true: an antialiased panel stores Gradient false.
  bool Antialiased() const { return antialiased_; }
  void setAntialiased(bool value);
  bool Gradient() const { return gradient_; }
  void setGradient(bool value);
  StyleColor DefaultFrom() const { return defaultFrom_; }
  void setDefaultFrom(StyleColor value);
  StyleColor DefaultTo() const { return defaultTo_; }
  void setDefaultTo(StyleColor value);
  TGradientType GradientType() const { return gradientType_; }
  void setGradientType(TGradientType value);

  // Between beginLoading() and Loaded() setters store their values without rendering; Loaded()
  // renders the body once. Used when a window sets many properties in a row.
  void beginLoading() { loading_ = true; }
  void Loaded();
  bool isLoading() const { return loading_; }

  // Where aligned children go: the client rectangle inset by BorderWidth + 1 (for cpGroupBox
  // below the caption). The panel keeps its contents margins equal to this inset, so a layout
  // placed on it (with no margins of its own) lays its children out there.
  QRect AdjustClientRect(const QRect& client) const;

  // The cached body bitmap, the panel's size.
  const QImage& bodyBuffer() const { return body_; }

  void RebuildBuffers() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void DoResize() override;
  void DoColorChanged() override;
  void DoParentColorChanged() override;
  void DoFontChanged() override;

 private:
  // A stored property changed: render the body unless a definition is being loaded.
  void bodyChanged();
  int captionTextHeight() const;
  void realignChildren();
  template <class Value>
  void setBodyProperty(Value& field, Value value);

  TGradCaptionPos captionPosition_ = TGradCaptionPos::cpTopLeft;
  int cornerWidth_ = 10;
  int borderWidth_ = 2;
  StyleColor borderColor_{128, 128, 128};
  StyleColor outerColor_ = clBtnFace;
  StyleColor textShadowColor_{255, 255, 255};
  bool antialiased_ = true;
  bool gradient_ = false;
  StyleColor defaultFrom_{255, 255, 255};
  StyleColor defaultTo_{223, 223, 227};
  TGradientType gradientType_ = TGradientType::gtVertical;
  bool loading_ = false;
  QImage body_;
};

}  // namespace wf
