#include "controls/gradient_draw.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace wf {
namespace {

void ensureRgb32(QImage& image) {
  if (!image.isNull() && image.format() != QImage::Format_RGB32)
    image = image.convertToFormat(QImage::Format_RGB32);
}

QRgb* row(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }
const QRgb* row(const QImage& image, int y) {
  return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

int clampChannel(long long value) { return static_cast<int>(std::clamp<long long>(value, 0, 255)); }

// Calls fn(y, x0, x1) for every run [x0, x1) of row y that lies in rect, in bounds and, when a
// region is given, in the region.
template <class Fn>
void forEachSpan(const QRect& rect, const QRect& bounds, const QRegion* region, Fn fn) {
  const QRect area = rect & bounds;
  if (area.isEmpty()) return;
  if (region == nullptr) {
    for (int y = area.top(); y <= area.bottom(); ++y)
      fn(y, area.left(), area.left() + area.width());
    return;
  }
  const QRegion clipped = region->intersected(area);
  for (const QRect& part : clipped) {
    for (int y = part.top(); y <= part.bottom(); ++y)
      fn(y, part.left(), part.left() + part.width());
  }
}

// One gradient: from-colour, per-step change and what a distance s turns into. The step is a
// double and a channel is delta * s + from, rounded to the nearest integer (halves to even) from
// the double result: the colours are defined by this arithmetic, so a value whose exact fraction
// is a half lands on whichever side the double lands (one multiplication and one addition, never
// fused; see CMakeLists.txt).
class GradientRamp {
 public:
  GradientRamp(QRgb from, QRgb to, int steps) {
    const int fromChannels[3] = {qRed(from), qGreen(from), qBlue(from)};
    const int toChannels[3] = {qRed(to), qGreen(to), qBlue(to)};
    for (int c = 0; c < 3; ++c) {
      from_[c] = fromChannels[c];
      delta_[c] = steps > 0 ? static_cast<double>(toChannels[c] - fromChannels[c]) / steps : 0.0;
    }
  }

  QRgb at(double s) const {
    int channel[3];
    for (int c = 0; c < 3; ++c)
      channel[c] = clampChannel(static_cast<long long>(std::nearbyint(delta_[c] * s + from_[c])));
    return qRgb(channel[0], channel[1], channel[2]);
  }

 private:
  double from_[3];
  double delta_[3];
};

}  // namespace

void fillRect(QImage& bitmap, const QRect& rect, StyleColor color) {
  ensureRgb32(bitmap);
  const QRgb value = color.rgb();
  forEachSpan(rect, bitmap.rect(), nullptr, [&](int y, int x0, int x1) {
    std::fill(row(bitmap, y) + x0, row(bitmap, y) + x1, value);
  });
}

void fillRegion(QImage& bitmap, const QRegion& region, StyleColor color) {
  ensureRgb32(bitmap);
  const QRgb value = color.rgb();
  forEachSpan(bitmap.rect(), bitmap.rect(), &region, [&](int y, int x0, int x1) {
    std::fill(row(bitmap, y) + x0, row(bitmap, y) + x1, value);
  });
}

void DrawGradient(QImage& bitmap, const QRect& rect, StyleColor from, StyleColor to,
                  TGradientType type, const QRegion* region) {
  if (bitmap.width() < 1 || bitmap.height() < 1) return;
  ensureRgb32(bitmap);
  if (from == to) {
    if (region != nullptr) {
      fillRegion(bitmap, region->intersected(rect), from);
    } else {
      fillRect(bitmap, rect, from);
    }
    return;
  }

  const int left = rect.left();
  const int top = rect.top();
  const int right = rect.left() + rect.width();
  const int bottom = rect.top() + rect.height();
  const int width = right - left;
  const int height = bottom - top;
  const int diagonal =
      static_cast<int>(std::lround(std::sqrt(double(width) * width + double(height) * height)));

  int steps = 0;
  switch (type) {
    case TGradientType::gtHorizontal: steps = width; break;
    case TGradientType::gtVertical: steps = height; break;
    case TGradientType::gtFromTopLeft:
    case TGradientType::gtFromTopRight: steps = diagonal - left; break;
    case TGradientType::gtRadial: steps = (diagonal - left) / 2; break;
    case TGradientType::gtDoubleHorz: steps = width / 2; break;
    case TGradientType::gtDoubleVert: steps = height / 2; break;
  }
  const GradientRamp ramp(from.rgb(), to.rgb(), steps);
  const QRect bounds = bitmap.rect();

  switch (type) {
    case TGradientType::gtHorizontal:
    case TGradientType::gtDoubleHorz: {
      // The colour depends on the column only: one table for the whole fill.
      std::vector<QRgb> columns(static_cast<size_t>(std::max(width, 0)));
      for (int x = left; x < right; ++x) {
        const int s = type == TGradientType::gtHorizontal ? x - left : std::abs(x - steps - left);
        columns[static_cast<size_t>(x - left)] = ramp.at(s);
      }
      forEachSpan(rect, bounds, region, [&](int y, int x0, int x1) {
        std::copy(columns.begin() + (x0 - left), columns.begin() + (x1 - left),
                  row(bitmap, y) + x0);
      });
      break;
    }
    case TGradientType::gtVertical:
    case TGradientType::gtDoubleVert:
      forEachSpan(rect, bounds, region, [&](int y, int x0, int x1) {
        const int s = type == TGradientType::gtVertical ? y - top : std::abs(y - steps - top);
        std::fill(row(bitmap, y) + x0, row(bitmap, y) + x1, ramp.at(s));
      });
      break;
    case TGradientType::gtFromTopLeft:
    case TGradientType::gtFromTopRight:
    case TGradientType::gtRadial:
      forEachSpan(rect, bounds, region, [&](int y, int x0, int x1) {
        QRgb* line = row(bitmap, y);
        for (int x = x0; x < x1; ++x) {
          double dx = 0.0;
          double dy = 0.0;
          if (type == TGradientType::gtFromTopLeft) {
            dx = x - left, dy = y - top;
          } else if (type == TGradientType::gtFromTopRight) {
            dx = right - x, dy = y - top;
          } else {
            dx = width / 2 - x, dy = y - height / 2;
          }
          line[x] = ramp.at(std::sqrt(dx * dx + dy * dy));
        }
      });
      break;
  }
}

void DrawShadowText(QPainter& canvas, const QString& text, const QFont& font, StyleColor fontColor,
                    StyleColor shadowColor, bool shadow, const TextFormat& format,
                    const QRect& rect, bool enabled) {
  canvas.setFont(font);
  const int mnemonicFlag = format.mnemonics ? Qt::TextShowMnemonic : 0;
  const int flags = static_cast<int>(format.alignment) | Qt::TextSingleLine | mnemonicFlag;
  const QString shown =
      QFontMetrics(font).elidedText(text, Qt::ElideRight, std::max(rect.width(), 0), mnemonicFlag);
  auto drawAt = [&](const QRect& where, StyleColor color) {
    canvas.setPen(color.toQColor());
    canvas.drawText(where, flags, shown);
  };
  const QRect shifted = rect.translated(1, 1);
  if (!enabled) {
    drawAt(shifted, clBtnHighlight);
    drawAt(rect, clBtnShadow);
  } else {
    if (shadow) drawAt(shifted, shadowColor);
    drawAt(rect, fontColor);
  }
}

void ReduceSupersampled(const QImage& large, QImage& small, int k, StyleColor interior, int band) {
  ensureRgb32(small);
  if (small.isNull() || k < 1) return;
  const QImage source =
      large.format() == QImage::Format_RGB32 ? large : large.convertToFormat(QImage::Format_RGB32);
  if (band < 1) band = k;
  const int b = band / 2;
  const int width = small.width();
  const int height = small.height();
  const int area = k * k;

  // A block row outside the large bitmap is a failed row read: the averaging ends there.
  bool rowsReadable = true;
  for (int y = 0; y < height && rowsReadable; ++y) {
    if (k * y + k > source.height()) {
      rowsReadable = false;
      break;
    }
    const bool bandRow = y <= b || y >= height - b;
    QRgb* out = row(small, y);
    for (int x = 0; x < width; ++x) {
      if (!bandRow && x > b && x < width - b) {
        x = width - b - 1;  // skip the interior of this row
        continue;
      }
      if (k * x + k > source.width()) break;
      int sum[3] = {0, 0, 0};
      for (int dy = 0; dy < k; ++dy) {
        const QRgb* in = row(source, k * y + dy) + k * x;
        for (int dx = 0; dx < k; ++dx) {
          sum[0] += qRed(in[dx]);
          sum[1] += qGreen(in[dx]);
          sum[2] += qBlue(in[dx]);
        }
      }
      out[x] = qRgb(sum[0] / area, sum[1] / area, sum[2] / area);
    }
  }
  fillRect(small, QRect(QPoint(b, b), QPoint(width - b - 1, height - b - 1)), interior);
}

void BlendBitmap(QImage& destination, const QImage& source, const QRect& rect, int percentage) {
  ensureRgb32(destination);
  const QImage src = source.format() == QImage::Format_RGB32
                         ? source
                         : source.convertToFormat(QImage::Format_RGB32);
  // The weights are doubles and each mix is rounded from double arithmetic, halves to even.
  const double keep = (100 - std::clamp(percentage, 0, 100)) / 100.0;
  const double take = 1 - keep;
  auto mix = [keep, take](int d, int s) {
    return clampChannel(static_cast<long long>(std::nearbyint(keep * d + take * s)));
  };
  const QRect readable = src.rect().translated(rect.topLeft());
  forEachSpan(rect & readable, destination.rect(), nullptr, [&](int y, int x0, int x1) {
    QRgb* out = row(destination, y);
    const QRgb* in = row(src, y - rect.top()) - rect.left();
    for (int x = x0; x < x1; ++x) {
      const QRgb d = out[x];
      const QRgb s = in[x];
      out[x] = qRgb(mix(qRed(d), qRed(s)), mix(qGreen(d), qGreen(s)), mix(qBlue(d), qBlue(s)));
    }
  });
}

void ComposeLayer(QImage& work, const QImage& base, const QImage& layer, int percentage,
                  const QRect& rect, int offset) {
  ensureRgb32(work);
  const QRect target(rect.left() + offset, rect.top() + offset, rect.width() - offset,
                     rect.height() - offset);
  // Reading and writing the same bitmap must behave like a copy through a scratch bitmap.
  const QImage from =
      (&base == &work || base.format() != QImage::Format_RGB32)
          ? base.copy(QRect(QPoint(0, 0), target.size())).convertToFormat(QImage::Format_RGB32)
          : base;
  const QRect copied = target & from.rect().translated(target.topLeft());
  forEachSpan(copied, work.rect(), nullptr, [&](int y, int x0, int x1) {
    const QRgb* in = row(from, y - target.top()) + (x0 - target.left());
    std::memcpy(row(work, y) + x0, in, sizeof(QRgb) * static_cast<size_t>(x1 - x0));
  });
  if (percentage > 0) BlendBitmap(work, layer, rect, std::min(percentage, 100));
}

void TintGray(QImage& bitmap, StyleColor tint) {
  ensureRgb32(bitmap);
  const int tr = tint.red(), tg = tint.green(), tb = tint.blue();
  for (int y = 0; y < bitmap.height(); ++y) {
    QRgb* line = row(bitmap, y);
    for (int x = 0; x < bitmap.width(); ++x) {
      const int g = (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3;
      line[x] = qRgb(std::min(g + tr, 255), std::min(g + tg, 255), std::min(g + tb, 255));
    }
  }
}

QRegion roundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight) {
  if (rect.isEmpty()) return QRegion();
  const int width = rect.width();
  const int height = rect.height();
  ellipseWidth = std::min(ellipseWidth, width);
  ellipseHeight = std::min(ellipseHeight, height);
  if (ellipseWidth <= 1 || ellipseHeight <= 1) return QRegion(rect);

  // The corner ellipse runs through pixel centres: its semi-axes span ellipse - 1 pixels, so a
  // 5 by 5 corner cuts three pixels and its outline steps diagonally, as a pen would draw it.
  const double a = (ellipseWidth - 1) / 2.0;
  const double b = (ellipseHeight - 1) / 2.0;
  auto inset = [&](int rowIndex) {
    double dy = 0.0;
    if (rowIndex < b) {
      dy = b - rowIndex;
    } else if (rowIndex > height - 1 - b) {
      dy = rowIndex - (height - 1 - b);
    } else {
      return 0;
    }
    const double ratio = dy / b;
    const double dx = a * std::sqrt(std::max(0.0, 1.0 - ratio * ratio));
    return std::min(static_cast<int>(std::ceil(a - dx - 1e-9)), width / 2);
  };

  std::vector<QRect> rows;
  for (int r = 0; r < height;) {
    const int d = inset(r);
    int end = r + 1;
    while (end < height && inset(end) == d) ++end;
    if (width - 2 * d > 0)
      rows.emplace_back(rect.left() + d, rect.top() + r, width - 2 * d, end - r);
    r = end;
  }
  QRegion region;
  region.setRects(rows.data(), static_cast<int>(rows.size()));
  return region;
}

}  // namespace wf
