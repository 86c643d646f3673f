// A progress bar drawn as a lit cylinder: every row (column, when vertical) of the filled and of
// the empty part is shaded by its distance from a light line, framed by optional bevels, with an
// optional percentage text. Used by the closing window to show the tables being written.
#pragma once

#include "controls/grad_style_color.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

#include <array>

namespace wf {

enum TCylinderEffect { ceFlat, ceUltraLow, ceLow, ceMedium, ceHigh, ceMaximum };
enum TFontEffect { feNone, feInvert, feShadowTopLeft, feShadowBottomRight };
enum TFontOrientation { foLeftToRight, foTopToBottom, foBottomToTop };
enum TProgressOrientation { pbHorizontal, pbVertical };

enum TProEffect {
  demoSystem,
  demoMetal,
  demoSunken,
  peCustom,
  peGlassRed,
  peGlassOrange,
  peGlassYellow,
  peGlassGreen,
  peGlassCyan,
  peGlassBlue,
  peGlassViolet,
  peGlassPurple,
  peSystem1,
  peSystem2,
  peSystem3,
  peSystem4,
  peSystem5,
  peSystem6,
  peSystem7,
  peSystem8,
  peUpLoad1,
  peUpLoad2,
  peMetalRed,
  peMetalOrange,
  peMetalYellow,
  peMetalCyan,
  peMetalGreen,
  peMetalLightBlue,
  peMetalBlue,
  peMetalViolet,
  peMetalDarkGray,
  peMetalGold,
  peStdRed,
  peStdYellow,
  peStdGreen,
  peStdBlue,
};
inline constexpr int kProEffectCount = peStdBlue + 1;

// Shading amplitude of a cylinder effect: 1, 51, 102, 153, 204, 255.
int cylinderAmplitude(TCylinderEffect effect);

class TProgressCyl;

// The seven shading parameters of one part of the cylinder, as plain values.
struct CylStyleValues {
  int intensityRGB = 255;
  float intensity = 4;
  float intensityFactor = -1;
  int rangeRGB = 255;
  int colorRGB = 255;
  float colorFactor = -1;
  float lightAngle = -3;
};

// The shading of the filled part (`ForeStyle`) or of the empty part (`BackStyle`). Every change
// makes the owning cylinder recompute its colour factors and repaint. Intensity, RangeRGB and
// LightAngle are divisors: 0 is ignored.
class TPCColorStyle {
 public:
  explicit TPCColorStyle(TProgressCyl* owner) : owner_(owner) {}
  TPCColorStyle(const TPCColorStyle&) = delete;
  TPCColorStyle& operator=(const TPCColorStyle&) = delete;

  int IntensityRGB() const { return values_.intensityRGB; }
  void setIntensityRGB(int value);
  float Intensity() const { return values_.intensity; }
  void setIntensity(float value);
  float IntensityFactor() const { return values_.intensityFactor; }
  void setIntensityFactor(float value);
  int RangeRGB() const { return values_.rangeRGB; }
  void setRangeRGB(int value);
  int ColorRGB() const { return values_.colorRGB; }
  void setColorRGB(int value);
  float ColorFactor() const { return values_.colorFactor; }
  void setColorFactor(float value);
  float LightAngle() const { return values_.lightAngle; }
  void setLightAngle(float value);

  const CylStyleValues& values() const { return values_; }
  // Copies the seven values through the setters.
  void assign(const CylStyleValues& values);
  void assign(const TPCColorStyle& other) { assign(other.values_); }

 private:
  void changed();
  TProgressCyl* owner_;
  CylStyleValues values_;
};

class TProgressCyl : public QWidget {
  Q_OBJECT

 public:
  enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

  explicit TProgressCyl(QWidget* parent = nullptr);
  ~TProgressCyl() override;

  // Range. Position is clamped to [Min, Max]; Min stays below Max (see setMin / setMax).
  int Min() const { return min_; }
  // A value equal to Max is taken as Max - 1, a larger one is ignored; Position is raised.
  void setMin(int value);
  int Max() const { return max_; }
  // A value equal to Min is taken as Min + 1, a smaller one is ignored; Position is lowered.
  void setMax(int value);
  int Position() const { return position_; }
  // Repaints at once (synchronously) when the drawn bar or percentage changes, so that a caller
  // that blocks the GUI thread between steps still shows each one.
  void setPosition(int value);
  int Step() const { return step_; }
  void setStep(int value) { step_ = value; }
  bool StopAtMax() const { return stopAtMax_; }
  void setStopAtMax(bool value) { stopAtMax_ = value; }

  // Colours.
  StyleColor Color() const { return color_; }
  void setColor(StyleColor value);
  StyleColor ForeColor() const { return foreColor_; }
  void setForeColor(StyleColor value);
  StyleColor BackColor() const { return backColor_; }
  void setBackColor(StyleColor value);
  StyleColor ForeLineColor() const { return foreLineColor_; }
  void setForeLineColor(StyleColor value);
  StyleColor BackBorderColor() const { return backBorderColor_; }
  void setBackBorderColor(StyleColor value);
  StyleColor BevelColor() const { return bevelColor_; }
  void setBevelColor(StyleColor value);
  StyleColor FontShadowColor() const { return fontShadowColor_; }
  void setFontShadowColor(StyleColor value);
  // Colour of the text; face and size come from font().
  StyleColor FontColor() const { return fontColor_; }
  void setFontColor(StyleColor value);

  TPCColorStyle& ForeStyle() { return foreStyle_; }
  const TPCColorStyle& ForeStyle() const { return foreStyle_; }
  void setForeStyle(const TPCColorStyle& style) { foreStyle_.assign(style); }
  TPCColorStyle& BackStyle() { return backStyle_; }
  const TPCColorStyle& BackStyle() const { return backStyle_; }
  void setBackStyle(const TPCColorStyle& style) { backStyle_.assign(style); }

  // Frame. A bevel or border width that would leave no inner area is refused.
  TBevelCut BevelInner() const { return bevelInner_; }
  void setBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void setBevelOuter(TBevelCut value);
  int BevelWidth() const { return bevelWidth_; }
  void setBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int value);

  TCylinderEffect CylinderEffect() const { return cylinderEffect_; }
  void setCylinderEffect(TCylinderEffect value);
  TProgressOrientation Orientation() const { return orientation_; }
  // Also turns the text: bottom-to-top for vertical bars, left-to-right for horizontal ones.
  void setOrientation(TProgressOrientation value);

  // Text.
  bool ShowText() const { return showText_; }
  void setShowText(bool value);
  QString Text() const { return text_; }
  void setText(const QString& value);
  QString TextDone() const { return textDone_; }
  void setTextDone(const QString& value);
  TFontEffect FontEffect() const { return fontEffect_; }
  void setFontEffect(TFontEffect value);
  TFontOrientation FontOrientation() const { return fontOrientation_; }
  void setFontOrientation(TFontOrientation value);

  // Applies a row of fixed settings; peCustom applies nothing. Any later change of a colour, a
  // style or an effect switches back to peCustom.
  TProEffect ProEffect() const { return proEffect_; }
  void setProEffect(TProEffect value);

  // Derived state.
  int barEnd() const { return barEnd_; }    // last column (first row, vertical) of the bar
  int percent() const { return percent_; }  // 0 .. 100
  QRect innerRect() const;
  bool geometryValid() const;
  int slopeV() const { return slopePerRow_; }
  int slopeH() const { return slopePerColumn_; }
  // The three channel factors of ForeColor, BackColor and ForeLineColor.
  std::array<float, 3> foreFactors() const { return foreFactors_; }
  std::array<float, 3> backFactors() const { return backFactors_; }
  std::array<float, 3> lineFactors() const { return lineFactors_; }
  enum class CylPart { Filled, Empty, LeadingLine };
  // The shade of a part in inner row i (inner column i of a vertical bar), 0 at the top (left).
  QRgb partColor(CylPart part, int i) const;
  // The text that is drawn: TextDone at 100 percent when it is not empty, else "40%" and so on.
  QString displayText() const;

  // The whole control as it is painted, width() by height().
  QImage render() const;

 signals:
  // Raised whenever the bar is drawn with a new extent or percentage at Max: on arriving there,
  // and again when a resize or a frame change moves the drawn extent.
  void OnProgressDone();
  void OnMouseEnter();
  void OnMouseLeave();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  friend class TPCColorStyle;
  void styleChanged();
  void switchToCustom();
  // A colour of the shading: recomputes the channel factors and leaves the preset.
  void setShadedColor(StyleColor& field, StyleColor value);
  // A plain value of the look: when it changed, leaves the preset and repaints.
  template <class Value>
  void setLookValue(Value& field, Value value);
  void computeFactors();
  void computeBevelColors();
  void computeGeometry();
  void updatePosition(int value);
  void setFrameValue(int& field, int value);
  void setBevelCut(TBevelCut& field, TBevelCut value);
  void applyPreset(TProEffect row);

  void drawHorizontal(QImage& image) const;
  void drawVertical(QImage& image) const;
  void drawFrames(QImage& image) const;
  void drawText(QImage& image) const;
  QRgb shade(int distance, int slope, const CylStyleValues& style,
             const std::array<float, 3>& factors) const;

  // Properties.
  StyleColor color_ = clBtnFace;
  StyleColor foreColor_ = StyleColor(255, 255, 255);
  StyleColor backColor_ = clBtnFace;
  StyleColor foreLineColor_ = clHighlight;
  StyleColor backBorderColor_ = StyleColor(0, 0, 0);
  StyleColor bevelColor_ = clBtnFace;
  StyleColor fontShadowColor_ = clBtnFace;
  StyleColor fontColor_ = StyleColor(0, 0, 0);
  TPCColorStyle foreStyle_{this};
  TPCColorStyle backStyle_{this};
  TBevelCut bevelInner_ = bvRaised;
  TBevelCut bevelOuter_ = bvLowered;
  int bevelWidth_ = 1;
  int borderWidth_ = 2;
  TCylinderEffect cylinderEffect_ = ceMaximum;
  TProgressOrientation orientation_ = pbHorizontal;
  bool showText_ = true;
  QString text_ = QStringLiteral("%");
  QString textDone_ = QStringLiteral("Done");
  TFontEffect fontEffect_ = feShadowBottomRight;
  TFontOrientation fontOrientation_ = foLeftToRight;
  TProEffect proEffect_ = demoSystem;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 1;
  bool stopAtMax_ = true;

  // Derived state.
  bool ready_ = false;
  bool applyingPreset_ = true;
  int amplitude_ = 255;
  int innerBevelInset_ = 0;  // BevelWidth + BorderWidth: where the inner bevel starts
  int margin_ = 0;           // BorderWidth + 2 * BevelWidth: the frame around the cylinder
  // Shading change per row (horizontal bar) or per column (vertical bar) away from the light
  // line: the amplitude divided by the inner height or width.
  int slopePerRow_ = 0;
  int slopePerColumn_ = 0;
  float rangeInverse_ = 0.01f;
  // Channel factors of ForeColor, BackColor and ForeLineColor under their styles.
  std::array<float, 3> foreFactors_{};
  std::array<float, 3> backFactors_{};
  std::array<float, 3> lineFactors_{};
  QRgb light_ = 0, shadow_ = 0, light3D_ = 0, dark3D_ = 0;
  QRgb innerTopLeft_ = 0, innerBottomRight_ = 0, outerTopLeft_ = 0, outerBottomRight_ = 0;
  int barEnd_ = 0;
  int percent_ = 0;
  int drawnExtent_ = -1;
  int drawnPercent_ = -1;
};

}  // namespace wf
