#include "reports/page_font.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "reports/report_page.h"

namespace wf {

namespace {
constexpr int kPointsPerInch = 72;
}  // namespace

PageFont PageFont::fromQFont(const QFont& font, int dpiY) {
  PageFont result;
  result.family = font.family();
  if (font.pixelSize() > 0) {
    result.pixelHeight =
        static_cast<int>(std::lround(double(font.pixelSize()) * dpiY / kScreenDpi));
  } else {
    result.pixelHeight = static_cast<int>(std::lround(font.pointSizeF() * dpiY / kPointsPerInch));
  }
  result.pixelHeight = std::max(1, result.pixelHeight);
  result.weight = std::clamp(static_cast<int>(font.weight()), 100, 900);
  result.italic = font.italic();
  result.underline = font.underline();
  result.strikeOut = font.strikeOut();
  return result;
}

QFont PageFont::toQFont() const {
  QFont font(family);
  font.setPixelSize(std::max(1, pixelHeight));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
  font.setItalic(italic);
  font.setUnderline(underline);
  font.setStrikeOut(strikeOut);
  return font;
}

TextRun layoutText(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  TextRun run;
  run.ascent = metrics.ascent();
  run.descent = metrics.descent();
  run.advances.resize(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    int advance = 0;
    if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      advance = metrics.horizontalAdvance(text.mid(i, 2));
      run.advances[i] = advance;
      run.advances[++i] = 0;
    } else {
      advance = metrics.horizontalAdvance(ch);
      run.advances[i] = advance;
    }
    run.width += advance;
  }
  return run;
}

void paintTextRun(QPainter& painter, int x, int baseline, const QString& text,
                  const QVector<int>& advances) {
  // Advances may come from a recording made elsewhere; keep the pen position in range.
  constexpr qint64 kLimit = 1 << 24;
  qint64 position = x;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype length =
        (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ? 2
            : 1;
    const QChar ch = text.at(i);
    if (position < -kLimit || position > kLimit) break;
    if (!ch.isSpace() || length == 2) {
      painter.drawText(QPoint(int(position), baseline), text.mid(i, length));
    }
    for (qsizetype k = 0; k < length; ++k) {
      if (i + k < advances.size()) position += advances[i + k];
    }
    i += length - 1;
  }
}

int fontTextHeight(const QFont& font) {
  const QFontMetrics metrics(font);
  return metrics.ascent() + metrics.descent();
}

}  // namespace wf
