// Exact checks of text effects. A caption drawn without antialiasing colours each of its pixels
// with the pen's colour and leaves every other pixel alone, so the pixels one plain drawing
// inks tell exactly which pixels a shadow, an emboss or an inversion must change, and to what.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

#include <string>
#include <vector>

namespace wf::test {

// A font whose glyphs are drawn without antialiasing.
inline QFont crispFont(const QString& family, int pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// The pixels a drawing inked: where `drawn` differs from `plain`, the same picture without it.
class TextInk {
 public:
  TextInk(const QImage& drawn, const QImage& plain)
      : width_(drawn.width()), height_(drawn.height()), inked_(width_ * height_) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        inked_[y * width_ + x] = (drawn.pixel(x, y) & 0xffffff) != (plain.pixel(x, y) & 0xffffff);
  }

  bool at(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && inked_[y * width_ + x];
  }
  int count() const {
    int n = 0;
    for (bool inked : inked_) n += inked;
    return n;
  }

  // `plain` with the text drawn twice, as the effects do: first in `under` moved by `offset`,
  // then in `over` in its place.
  QImage overPlain(const QImage& plain, QPoint offset, QRgb under, QRgb over) const {
    QImage expected = plain.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        if (at(x, y))
          expected.setPixel(x, y, over);
        else if (at(x - offset.x(), y - offset.y()))
          expected.setPixel(x, y, under);
      }
    return expected;
  }

 private:
  int width_;
  int height_;
  std::vector<bool> inked_;
};

// Where `actual` first differs from `expected` (same size), as "x,y: got #rrggbb, want #rrggbb";
// empty when every pixel matches.
inline std::string firstDifference(const QImage& actual, const QImage& expected) {
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x) {
      const QRgb got = actual.pixel(x, y) & 0xffffff, want = expected.pixel(x, y) & 0xffffff;
      if (got != want)
        return QStringLiteral("%1,%2: got #%3, want #%4")
            .arg(x)
            .arg(y)
            .arg(got, 6, 16, QLatin1Char('0'))
            .arg(want, 6, 16, QLatin1Char('0'))
            .toStdString();
    }
  return {};
}

}  // namespace wf::test
