// Reading single pixels of rendered controls, for tests that name exact colours.
#pragma once

#include <QImage>
#include <QWidget>

#include <tuple>

namespace wf::test {

// A pixel's red, green and blue, comparable and printable in test expectations.
using Rgb = std::tuple<int, int, int>;

inline Rgb rgbAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return {qRed(p), qGreen(p), qBlue(p)};
}

// The widget as it paints itself, in 32-bit RGB.
inline QImage rendered(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace wf::test
