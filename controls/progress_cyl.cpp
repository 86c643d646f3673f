#include "controls/progress_cyl.h"

#include "controls/store_changed.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace wf {

namespace {

// The 3D light and dark shadow roles of the classic desktop scheme, which StyleColor's fixed
// system colours follow as well.
constexpr QRgb k3DLight = 0xffd4d0c8;       // RGB(212,208,200)
constexpr QRgb k3DDarkShadow = 0xff404040;  // RGB(64,64,64)

int roundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

QRgb offsetChannels(QRgb color, int delta) {
  auto c = [delta](int v) { return std::clamp(v + delta, 0, 255); };
  return qRgb(c(qRed(color)), c(qGreen(color)), c(qBlue(color)));
}

// One fixed row of settings; a row leaves unset what it does not name.
struct PresetRow {
  std::optional<TCylinderEffect> effect;
  std::optional<TProgressCyl::TBevelCut> outer, inner;
  std::optional<int> borderWidth;
  std::optional<bool> showText;
  std::optional<StyleColor> fontColor, fontShadowColor;
  std::optional<TFontEffect> fontEffect;
  std::optional<StyleColor> fore, back, foreLine, backBorder, color, bevelColor;
  std::optional<CylStyleValues> backStyle, foreStyle;
};

constexpr StyleColor kBlack(0, 0, 0);
constexpr StyleColor kWhite(255, 255, 255);
constexpr CylStyleValues kGlassStyle{255, 4, -1, 255, 255, 1, -3};
constexpr CylStyleValues kMetalStyle{255, 3, -1, 255, 255, -1, -2};
constexpr CylStyleValues kDefaultStyle{};

PresetRow glassRow(StyleColor fore, StyleColor line) {
  PresetRow r;
  r.effect = ceMaximum;
  r.fontColor = kBlack;
  r.fontEffect = feNone;
  r.fore = fore;
  r.back = StyleColor(192, 192, 192);
  r.foreLine = line;
  r.backBorder = kBlack;
  r.color = clBtnFace;
  r.bevelColor = clBtnFace;
  r.backStyle = r.foreStyle = kGlassStyle;
  return r;
}

PresetRow metalRow(StyleColor fore, StyleColor line) {
  PresetRow r;
  r.effect = ceHigh;
  r.outer = TProgressCyl::bvLowered;
  r.inner = TProgressCyl::bvNone;
  r.borderWidth = 1;
  r.showText = true;
  r.fontColor = kWhite;
  r.fontShadowColor = kBlack;
  r.fontEffect = feShadowBottomRight;
  r.fore = fore;
  r.back = StyleColor(208, 208, 208);
  r.foreLine = line;
  r.backBorder = StyleColor(64, 64, 64);
  r.color = clBtnFace;
  r.bevelColor = clBtnFace;
  r.backStyle = r.foreStyle = kMetalStyle;
  return r;
}

PresetRow standardRow(StyleColor fore, StyleColor line) {
  PresetRow r;
  r.effect = ceFlat;
  r.outer = TProgressCyl::bvLowered;
  r.inner = TProgressCyl::bvNone;
  r.borderWidth = 0;
  r.showText = true;
  r.fontColor = kBlack;
  r.fontEffect = feInvert;
  r.fore = fore;
  r.back = kWhite;
  r.foreLine = line;
  r.backBorder = StyleColor(128, 128, 128);
  r.color = clBtnFace;
  r.bevelColor = clBtnFace;
  r.backStyle = r.foreStyle = kDefaultStyle;
  return r;
}

PresetRow systemRow(TCylinderEffect effect, float colorFactor, TFontEffect fontEffect,
                    StyleColor back) {
  PresetRow r;
  r.effect = effect;
  r.outer = TProgressCyl::bvLowered;
  r.inner = TProgressCyl::bvRaised;
  r.borderWidth = 2;
  r.showText = true;
  r.fontColor = fontEffect == feShadowTopLeft ? kWhite : kBlack;
  r.fontShadowColor = fontEffect == feShadowTopLeft ? kBlack : StyleColor(clBtnFace);
  r.fontEffect = fontEffect;
  r.fore = clHighlight;
  r.back = back;
  r.foreLine = clHighlight;
  r.backBorder = kBlack;
  r.color = clBtnFace;
  r.bevelColor = clBtnFace;
  CylStyleValues style;
  style.colorFactor = colorFactor;
  r.backStyle = r.foreStyle = style;
  return r;
}

std::array<PresetRow, kProEffectCount> makePresets() {
  std::array<PresetRow, kProEffectCount> rows{};
  // The demonstration rows: the constructor's look, a grey metal one and a sunken blue one.
  rows[demoSystem] = systemRow(ceMaximum, -1, feShadowBottomRight, clBtnFace);
  rows[demoSystem].fore = kWhite;
  rows[demoSystem].inner = TProgressCyl::bvRaised;
  rows[demoMetal] = metalRow(StyleColor(176, 176, 192), StyleColor(64, 64, 80));
  rows[demoSunken] = glassRow(StyleColor(0, 128, 255), StyleColor(0, 64, 128));
  rows[demoSunken].effect = ceMedium;
  rows[demoSunken].outer = rows[demoSunken].inner = TProgressCyl::bvLowered;
  rows[demoSunken].borderWidth = 0;
  // peCustom stays empty: it applies nothing.
  rows[peGlassRed] = glassRow(StyleColor(255, 0, 0), StyleColor(128, 0, 0));
  rows[peGlassOrange] = glassRow(StyleColor(255, 128, 0), StyleColor(128, 0, 0));
  rows[peGlassYellow] = glassRow(StyleColor(255, 255, 0), StyleColor(128, 128, 0));
  rows[peGlassGreen] = glassRow(StyleColor(0, 192, 0), StyleColor(0, 96, 0));
  rows[peGlassCyan] = glassRow(StyleColor(0, 255, 255), StyleColor(0, 128, 128));
  rows[peGlassBlue] = glassRow(StyleColor(0, 0, 255), StyleColor(0, 0, 128));
  rows[peGlassViolet] = glassRow(StyleColor(128, 0, 255), StyleColor(64, 0, 128));
  rows[peGlassPurple] = glassRow(StyleColor(192, 0, 192), StyleColor(96, 0, 96));
  rows[peSystem1] = systemRow(ceLow, -1, feNone, clBtnFace);
  rows[peSystem2] = systemRow(ceMedium, -1, feShadowBottomRight, clBtnFace);
  rows[peSystem3] = systemRow(ceHigh, -1, feShadowTopLeft, clBtnFace);
  rows[peSystem4] = systemRow(ceMaximum, -1, feInvert, clBtnFace);
  rows[peSystem5] = systemRow(ceLow, 1, feNone, clWindow);
  rows[peSystem6] = systemRow(ceMedium, 1, feShadowBottomRight, clWindow);
  rows[peSystem7] = systemRow(ceHigh, 1, feShadowTopLeft, clWindow);
  rows[peSystem8] = systemRow(ceMaximum, 1, feInvert, clWindow);
  rows[peUpLoad1] = glassRow(StyleColor(0, 160, 0), StyleColor(0, 80, 0));
  rows[peUpLoad1].effect = ceMedium;
  rows[peUpLoad1].back = kWhite;
  rows[peUpLoad2] = glassRow(StyleColor(0, 96, 192), StyleColor(0, 48, 96));
  rows[peUpLoad2].effect = ceMedium;
  rows[peUpLoad2].back = kWhite;
  rows[peMetalRed] = metalRow(StyleColor(192, 32, 32), StyleColor(96, 0, 0));
  rows[peMetalOrange] = metalRow(StyleColor(224, 112, 0), StyleColor(112, 48, 0));
  rows[peMetalYellow] = metalRow(StyleColor(208, 192, 0), StyleColor(104, 96, 0));
  rows[peMetalCyan] = metalRow(StyleColor(0, 176, 192), StyleColor(0, 88, 96));
  rows[peMetalGreen] = metalRow(StyleColor(32, 160, 32), StyleColor(0, 80, 0));
  rows[peMetalLightBlue] = metalRow(StyleColor(64, 144, 224), StyleColor(32, 72, 112));
  rows[peMetalBlue] = metalRow(StyleColor(32, 64, 192), StyleColor(16, 32, 96));
  rows[peMetalViolet] = metalRow(StyleColor(128, 64, 192), StyleColor(64, 32, 96));
  rows[peMetalDarkGray] = metalRow(StyleColor(96, 96, 96), StyleColor(32, 32, 32));
  rows[peMetalGold] = metalRow(StyleColor(208, 168, 64), StyleColor(112, 80, 16));
  rows[peStdRed] = standardRow(StyleColor(255, 0, 0), StyleColor(128, 0, 0));
  rows[peStdYellow] = standardRow(StyleColor(255, 255, 0), StyleColor(128, 128, 0));
  rows[peStdGreen] = standardRow(StyleColor(0, 192, 0), StyleColor(0, 96, 0));
  rows[peStdBlue] = standardRow(StyleColor(0, 0, 255), StyleColor(0, 0, 128));
  return rows;
}

const std::array<PresetRow, kProEffectCount>& presets() {
  static const std::array<PresetRow, kProEffectCount> rows = makePresets();
  return rows;
}

}  // namespace

int cylinderAmplitude(TCylinderEffect effect) {
  static constexpr int kAmplitude[] = {1, 51, 102, 153, 204, 255};
  return kAmplitude[effect];
}

// ---- TPCColorStyle ----

void TPCColorStyle::setIntensityRGB(int value) {
  if (values_.intensityRGB == value) return;
  values_.intensityRGB = value;
  changed();
}

void TPCColorStyle::setIntensity(float value) {
  if (values_.intensity == value || value == 0) return;
  values_.intensity = value;
  changed();
}

void TPCColorStyle::setIntensityFactor(float value) {
  if (values_.intensityFactor == value) return;
  values_.intensityFactor = value;
  changed();
}

void TPCColorStyle::setRangeRGB(int value) {
  if (values_.rangeRGB == value || value == 0) return;
  values_.rangeRGB = value;
  changed();
}

void TPCColorStyle::setColorRGB(int value) {
  if (values_.colorRGB == value) return;
  values_.colorRGB = value;
  changed();
}

void TPCColorStyle::setColorFactor(float value) {
  if (values_.colorFactor == value) return;
  values_.colorFactor = value;
  changed();
}

void TPCColorStyle::setLightAngle(float value) {
  if (values_.lightAngle == value || value == 0) return;
  values_.lightAngle = value;
  changed();
}

void TPCColorStyle::assign(const CylStyleValues& values) {
  setIntensityRGB(values.intensityRGB);
  setIntensity(values.intensity);
  setIntensityFactor(values.intensityFactor);
  setRangeRGB(values.rangeRGB);
  setColorRGB(values.colorRGB);
  setColorFactor(values.colorFactor);
  setLightAngle(values.lightAngle);
}

void TPCColorStyle::changed() {
  if (owner_) owner_->styleChanged();
}

// ---- TProgressCyl: construction ----

TProgressCyl::TProgressCyl(QWidget* parent) : QWidget(parent) {
  // Defaults are assigned with applyingPreset_ set and ready_ clear (the member initialisers),
  // so that nothing paints and ProEffect stays demoSystem.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  QFont textFont(QStringLiteral("Arial"));
  textFont.setPointSize(9);
  textFont.setBold(true);
  setFont(textFont);
  resize(150, 22);
  amplitude_ = cylinderAmplitude(cylinderEffect_);
  computeFactors();
  computeBevelColors();
  applyingPreset_ = false;
  ready_ = true;
  computeGeometry();
}

TProgressCyl::~TProgressCyl() = default;

// ---- range ----

void TProgressCyl::setMin(int value) {
  if (value > max_) return;
  if (value == max_) value = max_ - 1;
  if (value == min_) return;
  min_ = value;
  if (position_ < min_) position_ = min_;
  computeGeometry();
  update();
}

void TProgressCyl::setMax(int value) {
  if (value < min_) return;
  if (value == min_) value = min_ + 1;
  if (value == max_) return;
  max_ = value;
  if (position_ > max_) position_ = max_;
  computeGeometry();
  update();
}

void TProgressCyl::setPosition(int value) { updatePosition(value); }

void TProgressCyl::updatePosition(int value) {
  position_ = std::clamp(value, min_, max_);
  const int range = max_ - min_;
  const int d = position_ - min_;
  rangeInverse_ = static_cast<float>(1.0 / range);
  const double r = rangeInverse_;
  const int p = roundEven(d * 100.0 / range);
  const int extent = orientation_ == pbHorizontal ? width() : height();
  const int s = roundEven(extent * d * r) + 2 * margin_ - roundEven(2.0 * margin_ * d * r);
  percent_ = p;
  barEnd_ = orientation_ == pbHorizontal ? std::max(s - margin_, margin_ + 1)
                                         : (height() - margin_) - (s - 2 * margin_);
  if (s == drawnExtent_ && p == drawnPercent_) return;
  drawnExtent_ = s;
  drawnPercent_ = p;
  // Reported whenever the bar is drawn anew at Max: on arrival, and again when a resize or a
  // frame change moves the drawn extent while the bar stands there.
  if (position_ == max_) emit OnProgressDone();
  if (ready_ && isVisible()) repaint();
}

// ---- colours and styles ----

void TProgressCyl::switchToCustom() {
  if (!applyingPreset_) proEffect_ = peCustom;
}

void TProgressCyl::styleChanged() {
  switchToCustom();
  computeFactors();
  update();
}

void TProgressCyl::setColor(StyleColor value) {
  if (color_ == value) return;
  color_ = value;
  switchToCustom();
  computeBevelColors();  // bvSpace bevels take this colour
  update();
}

// The four colours of the look take every assignment, an equal value included: setting one is a
// choice of colour, which leaves the preset for peCustom.
void TProgressCyl::setForeColor(StyleColor value) { setShadedColor(foreColor_, value); }
void TProgressCyl::setBackColor(StyleColor value) { setShadedColor(backColor_, value); }
void TProgressCyl::setForeLineColor(StyleColor value) { setShadedColor(foreLineColor_, value); }

void TProgressCyl::setShadedColor(StyleColor& field, StyleColor value) {
  field = value;
  computeFactors();
  switchToCustom();
  update();
}

void TProgressCyl::setBevelColor(StyleColor value) {
  bevelColor_ = value;
  computeBevelColors();
  switchToCustom();
  update();
}

template <class Value>
void TProgressCyl::setLookValue(Value& field, Value value) {
  if (!storeChanged(field, value)) return;
  switchToCustom();
  update();
}

void TProgressCyl::setBackBorderColor(StyleColor value) { setLookValue(backBorderColor_, value); }
void TProgressCyl::setFontShadowColor(StyleColor value) { setLookValue(fontShadowColor_, value); }
void TProgressCyl::setFontColor(StyleColor value) { setLookValue(fontColor_, value); }

void TProgressCyl::computeFactors() {
  auto factors = [](StyleColor color, const CylStyleValues& s) {
    const QRgb rgb = color.rgb();
    const int channel[3] = {qRed(rgb), qGreen(rgb), qBlue(rgb)};
    std::array<float, 3> f{};
    for (int i = 0; i < 3; ++i) {
      const double c = channel[i];
      f[i] = static_cast<float>(((c * s.intensityFactor + s.intensityRGB) / s.intensity + c) /
                                s.rangeRGB);
    }
    return f;
  };
  foreFactors_ = factors(foreColor_, foreStyle_.values());
  lineFactors_ = factors(foreLineColor_, foreStyle_.values());
  backFactors_ = factors(backColor_, backStyle_.values());
}

// ---- frame ----

void TProgressCyl::computeBevelColors() {
  if (bevelColor_ == clBtnFace) {
    light_ = clBtnHighlight.rgb();
    shadow_ = clBtnShadow.rgb();
    light3D_ = k3DLight;
    dark3D_ = k3DDarkShadow;
  } else {
    light_ = offsetChannels(bevelColor_.rgb(), 64);
    shadow_ = offsetChannels(bevelColor_.rgb(), -64);
    light3D_ = light_;
    dark3D_ = shadow_;
  }
  const QRgb face = color_.rgb();
  const bool noBorder = borderWidth_ == 0;
  switch (bevelInner_) {
    case bvLowered:
      innerTopLeft_ = bevelOuter_ == bvLowered && noBorder ? dark3D_ : shadow_;
      innerBottomRight_ = bevelOuter_ == bvLowered && noBorder ? light3D_ : light_;
      break;
    case bvRaised:
      innerTopLeft_ = bevelOuter_ == bvRaised && noBorder ? light3D_ : light_;
      innerBottomRight_ = shadow_;
      break;
    default: innerTopLeft_ = innerBottomRight_ = face;
  }
  switch (bevelOuter_) {
    case bvLowered:
      outerTopLeft_ = shadow_;
      outerBottomRight_ = light_;
      break;
    case bvRaised:
      outerTopLeft_ = light_;
      outerBottomRight_ = bevelInner_ == bvRaised && noBorder ? dark3D_ : shadow_;
      break;
    default: outerTopLeft_ = outerBottomRight_ = face;
  }
}

bool TProgressCyl::geometryValid() const {
  const int w = width(), h = height();
  return w - 2 * innerBevelInset_ > 0 && h - 2 * innerBevelInset_ > 0 && w - 2 * margin_ > 0 &&
         h - 2 * margin_ > 0;
}

QRect TProgressCyl::innerRect() const {
  return QRect(margin_, margin_, width() - 2 * margin_, height() - 2 * margin_);
}

void TProgressCyl::computeGeometry() {
  innerBevelInset_ = bevelWidth_ + borderWidth_;
  margin_ = borderWidth_ + 2 * bevelWidth_;
  const int w = width() - 2 * margin_, h = height() - 2 * margin_;
  if (w > 0 && h > 0) {
    slopePerRow_ = amplitude_ / h;
    slopePerColumn_ = amplitude_ / w;
  }
  updatePosition(position_);
}

void TProgressCyl::setFrameValue(int& field, int value) {
  if (field == value) return;
  const int old = field;
  field = value;
  innerBevelInset_ = bevelWidth_ + borderWidth_;
  margin_ = borderWidth_ + 2 * bevelWidth_;
  if (value < 0 || !geometryValid()) field = old;
  computeBevelColors();
  computeGeometry();
  update();
}

void TProgressCyl::setBevelWidth(int value) { setFrameValue(bevelWidth_, value); }
void TProgressCyl::setBorderWidth(int value) { setFrameValue(borderWidth_, value); }

void TProgressCyl::setBevelCut(TBevelCut& field, TBevelCut value) {
  if (field == value) return;
  field = value;
  computeBevelColors();
  computeGeometry();
  update();
}

void TProgressCyl::setBevelInner(TBevelCut value) { setBevelCut(bevelInner_, value); }
void TProgressCyl::setBevelOuter(TBevelCut value) { setBevelCut(bevelOuter_, value); }

void TProgressCyl::setCylinderEffect(TCylinderEffect value) {
  if (cylinderEffect_ == value) return;
  cylinderEffect_ = value;
  amplitude_ = cylinderAmplitude(value);
  switchToCustom();
  computeGeometry();
  update();
}

void TProgressCyl::setOrientation(TProgressOrientation value) {
  if (orientation_ == value) return;
  orientation_ = value;
  fontOrientation_ = value == pbVertical ? foBottomToTop : foLeftToRight;
  computeGeometry();
  update();
}

// ---- text ----

void TProgressCyl::setShowText(bool value) {
  if (storeChanged(showText_, value)) update();
}

void TProgressCyl::setText(const QString& value) {
  if (storeChanged(text_, value)) update();
}

void TProgressCyl::setTextDone(const QString& value) {
  if (storeChanged(textDone_, value)) update();
}

void TProgressCyl::setFontEffect(TFontEffect value) { setLookValue(fontEffect_, value); }

void TProgressCyl::setFontOrientation(TFontOrientation value) {
  if (storeChanged(fontOrientation_, value)) update();
}

QString TProgressCyl::displayText() const {
  if (!textDone_.isEmpty() && percent_ == 100) return textDone_;
  return QString::number(percent_) + text_;
}

// ---- presets ----

void TProgressCyl::setProEffect(TProEffect value) {
  // Choosing the current row again applies it again, putting back what was changed since.
  if (value < 0 || value >= kProEffectCount) return;
  if (value != peCustom) applyPreset(value);
  proEffect_ = value;
}

void TProgressCyl::applyPreset(TProEffect row) {
  const PresetRow& p = presets()[row];
  // One repaint for the whole row instead of one per setting.
  const bool updates = updatesEnabled();
  setUpdatesEnabled(false);
  applyingPreset_ = true;
  if (p.effect) setCylinderEffect(*p.effect);
  if (p.outer) setBevelOuter(*p.outer);
  if (p.inner) setBevelInner(*p.inner);
  if (p.borderWidth) setBorderWidth(*p.borderWidth);
  if (p.showText) setShowText(*p.showText);
  if (p.fontColor) setFontColor(*p.fontColor);
  if (p.fontShadowColor) setFontShadowColor(*p.fontShadowColor);
  if (p.fontEffect) setFontEffect(*p.fontEffect);
  if (p.fore) setForeColor(*p.fore);
  if (p.back) setBackColor(*p.back);
  if (p.foreLine) setForeLineColor(*p.foreLine);
  if (p.backBorder) setBackBorderColor(*p.backBorder);
  if (p.color) setColor(*p.color);
  if (p.bevelColor) setBevelColor(*p.bevelColor);
  if (p.backStyle) backStyle_.assign(*p.backStyle);
  if (p.foreStyle) foreStyle_.assign(*p.foreStyle);
  applyingPreset_ = false;
  setUpdatesEnabled(updates);
  update();
}

// ---- events ----

void TProgressCyl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (ready_ && geometryValid()) computeGeometry();
}

void TProgressCyl::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) {
    computeFactors();
    computeBevelColors();
  }
  QWidget::changeEvent(event);
}

void TProgressCyl::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  emit OnMouseEnter();
}

void TProgressCyl::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit OnMouseLeave();
}

void TProgressCyl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, render());
}

// ---- drawing ----

QImage TProgressCyl::render() const {
  QImage image(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
  image.fill(color_.rgb());
  if (!ready_ || !geometryValid()) return image;
  if (orientation_ == pbHorizontal)
    drawHorizontal(image);
  else
    drawVertical(image);
  drawFrames(image);
  if (showText_) drawText(image);
  return image;
}

QRgb TProgressCyl::shade(int distance, int slope, const CylStyleValues& style,
                         const std::array<float, 3>& factors) const {
  const double base = static_cast<double>(distance) * slope * style.colorFactor + style.colorRGB;
  auto channel = [&](int i) {
    return static_cast<int>(std::clamp(std::trunc(base * factors[i]), 0.0, 255.0));
  };
  return qRgb(channel(0), channel(1), channel(2));
}

QRgb TProgressCyl::partColor(CylPart part, int i) const {
  const bool horizontal = orientation_ == pbHorizontal;
  const int across = horizontal ? innerRect().height() : innerRect().width();
  const int slope = horizontal ? slopePerRow_ : slopePerColumn_;
  const TPCColorStyle& style = part == CylPart::Empty ? backStyle_ : foreStyle_;
  const int offset = static_cast<int>(std::trunc(across / style.LightAngle()));
  const auto& factors = part == CylPart::Filled  ? foreFactors_
                        : part == CylPart::Empty ? backFactors_
                                                 : lineFactors_;
  return shade(std::abs(offset + i), slope, style.values(), factors);
}

// Columns m to e are the filled part and column e the leading line, whatever the position: at
// Max e lies one column past the inner rectangle, where the frames (when there are any) cover it.
// Only the bitmap's own edge limits the drawing.
void TProgressCyl::drawHorizontal(QImage& image) const {
  const int h = innerRect().height();
  const int lastBack = width() - margin_ - 1;
  const int lastFill = std::min(barEnd_, image.width() - 1);
  for (int i = 0; i < h; ++i) {
    const QRgb fill = partColor(CylPart::Filled, i);
    const QRgb back = partColor(CylPart::Empty, i);
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(margin_ + i));
    for (int x = margin_; x <= lastFill; ++x) row[x] = fill;
    if (barEnd_ <= lastFill) row[barEnd_] = partColor(CylPart::LeadingLine, i);
    for (int x = barEnd_ + 1; x <= lastBack; ++x) row[x] = back;
  }
}

// The empty part is on top and the bar grows upwards from the bottom; row e is the leading line
// (at Min one row below the inner rectangle).
void TProgressCyl::drawVertical(QImage& image) const {
  const int w = innerRect().width();
  const int lastFill = height() - margin_ - 1;
  const int lastBack = std::min(barEnd_, image.height() - 1);
  for (int j = 0; j < w; ++j) {
    const QRgb fill = partColor(CylPart::Filled, j);
    const QRgb back = partColor(CylPart::Empty, j);
    const int x = margin_ + j;
    auto set = [&](int y, QRgb c) { reinterpret_cast<QRgb*>(image.scanLine(y))[x] = c; };
    for (int y = margin_; y <= lastBack; ++y) set(y, back);
    if (barEnd_ >= 0 && barEnd_ <= lastBack) set(barEnd_, partColor(CylPart::LeadingLine, j));
    for (int y = std::max(barEnd_ + 1, margin_); y <= lastFill; ++y) set(y, fill);
  }
}

namespace {

// A bevel of `width` rings inside `rect`: top and left edges in one colour, bottom and right
// edges (with the top-right and bottom-left corners) in the other.
void drawBevel(QImage& image, QRect rect, int width, QRgb topLeft, QRgb bottomRight) {
  auto set = [&](int x, int y, QRgb c) {
    if (image.rect().contains(x, y)) reinterpret_cast<QRgb*>(image.scanLine(y))[x] = c;
  };
  for (int k = 0; k < width && rect.width() > 0 && rect.height() > 0; ++k) {
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    for (int x = l; x < r; ++x) set(x, t, topLeft);
    for (int y = t; y < b; ++y) set(l, y, topLeft);
    for (int y = t; y <= b; ++y) set(r, y, bottomRight);
    for (int x = l; x <= r; ++x) set(x, b, bottomRight);
    rect.adjust(1, 1, -1, -1);
  }
}

}  // namespace

void TProgressCyl::drawFrames(QImage& image) const {
  drawBevel(image, innerRect(), 1, backBorderColor_.rgb(), backBorderColor_.rgb());
  if (bevelInner_ != bvNone)
    drawBevel(
        image,
        rect().adjusted(innerBevelInset_, innerBevelInset_, -innerBevelInset_, -innerBevelInset_),
        bevelWidth_, innerTopLeft_, innerBottomRight_);
  if (bevelOuter_ != bvNone)
    drawBevel(image, rect(), bevelWidth_, outerTopLeft_, outerBottomRight_);
}

void TProgressCyl::drawText(QImage& image) const {
  const QString text = displayText();
  const QFontMetrics metrics(font());
  const int textWidth = metrics.horizontalAdvance(text);
  const int textHeight = metrics.height();
  const int w = width(), h = height();

  // Draws the text with its top-left corner at the centred place, turned as FontOrientation
  // says, moved by (dx, dy).
  auto place = [&](QPainter& painter, QColor color, int dx, int dy, bool smooth = true) {
    painter.save();
    QFont textFont = font();
    // Exclusive-or needs pure black and white: a smoothed edge would leave odd colours.
    if (!smooth) textFont.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(textFont);
    painter.setPen(color);
    switch (fontOrientation_) {
      case foLeftToRight:
        painter.translate((w - textWidth) / 2 + dx, (h - textHeight) / 2 + 1 + dy);
        break;
      case foTopToBottom:  // turned 270 degrees: reads downwards
        painter.translate((w + textHeight) / 2 + dx, (h - textWidth) / 2 + dy);
        painter.rotate(90);
        break;
      case foBottomToTop:  // turned 90 degrees: reads upwards
        painter.translate((w - textHeight) / 2 + dx, (h + textWidth) / 2 + dy);
        painter.rotate(-90);
        break;
    }
    painter.drawText(0, metrics.ascent(), text);
    painter.restore();
  };

  if (fontEffect_ == feInvert) {
    // White text on black, combined by exclusive-or: the text inverts whatever lies beneath.
    QImage mask(image.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
      QPainter maskPainter(&mask);
      place(maskPainter, Qt::white, 0, 0, false);
    }
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(0, 0, mask);
    return;
  }
  QPainter painter(&image);
  const QColor shadow = QColor::fromRgb(fontShadowColor_.rgb());
  if (fontEffect_ == feShadowTopLeft) place(painter, shadow, -1, -1);
  if (fontEffect_ == feShadowBottomRight) place(painter, shadow, 1, 1);
  place(painter, QColor::fromRgb(fontColor_.rgb()), 0, 0);
}

}  // namespace wf
