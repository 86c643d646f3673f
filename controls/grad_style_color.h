// The colour value of the styled controls: either an RGB triple or a reference to a system colour
// role, as window designs store it. Drawing resolves it to RGB first (see rgb()).
#pragma once

#include <QColor>
#include <QRgb>
#include <cstdint>

namespace wf {

// System colour roles the designs refer to by name.
enum class SystemColor : std::uint8_t {
  ButtonFace = 1,
  ButtonHighlight,
  ButtonShadow,
  Window,
  WindowText,
  Highlight,
};

class StyleColor {
 public:
  constexpr StyleColor() = default;  // black
  constexpr StyleColor(int red, int green, int blue)
      : value_(static_cast<std::uint32_t>(red & 0xff) |
               static_cast<std::uint32_t>(green & 0xff) << 8 |
               static_cast<std::uint32_t>(blue & 0xff) << 16) {}
  // Implicit on purpose: any QColor is a plain RGB value (alpha is dropped).
  StyleColor(const QColor& color) : StyleColor(color.red(), color.green(), color.blue()) {}

  static constexpr StyleColor system(SystemColor role) {
    StyleColor color;
    color.value_ = kSystemFlag | static_cast<std::uint32_t>(role);
    return color;
  }

  constexpr bool isSystem() const { return (value_ & kSystemFlag) != 0; }
  constexpr SystemColor systemRole() const { return static_cast<SystemColor>(value_ & 0xff); }

  // Resolved components, 0 to 255.
  int red() const { return qRed(rgb()); }
  int green() const { return qGreen(rgb()); }
  int blue() const { return qBlue(rgb()); }

  // The resolved colour as an opaque 0xffRRGGBB value.
  QRgb rgb() const;
  QColor toQColor() const { return QColor::fromRgb(rgb()); }

  // Compares the stored values: a system reference never equals an RGB triple, even one that
  // resolves to the same colour.
  friend constexpr bool operator==(StyleColor a, StyleColor b) { return a.value_ == b.value_; }

 private:
  static constexpr std::uint32_t kSystemFlag = 0x80000000u;
  std::uint32_t value_ = 0;  // red in the low byte, then green, then blue; or flag | role
};

// The fixed RGB value of a system colour role. These are the classic desktop scheme's values,
// not the running desktop's palette, so that every control draws (and every test sees) the same
// pixels on every machine and theme.
QRgb systemColorRgb(SystemColor role);

inline constexpr StyleColor clBtnFace = StyleColor::system(SystemColor::ButtonFace);
inline constexpr StyleColor clBtnHighlight = StyleColor::system(SystemColor::ButtonHighlight);
inline constexpr StyleColor clBtnShadow = StyleColor::system(SystemColor::ButtonShadow);
inline constexpr StyleColor clWindow = StyleColor::system(SystemColor::Window);
inline constexpr StyleColor clWindowText = StyleColor::system(SystemColor::WindowText);
inline constexpr StyleColor clHighlight = StyleColor::system(SystemColor::Highlight);
inline constexpr StyleColor clWhite = StyleColor(255, 255, 255);
inline constexpr StyleColor clBlack = StyleColor(0, 0, 0);

}  // namespace wf
