// Breaks a text control's output into the lines it prints. Widths are screen pixels at 96 per
// inch, so a text breaks the same way on the screen and on paper.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace wf {

// Width of a text in screen pixels, with the control's font.
using TextMeasure = std::function<int(const QString&)>;

struct LineFormatOptions {
  // The control's width in screen pixels.
  int widthPx = 0;
  bool autoSize = false;
  bool wordWrap = true;
};

struct FormattedLines {
  QStringList lines;
  // With autoSize: the widest line in screen pixels, the 1-pixel allowance included; otherwise
  // the width the options gave.
  int widthPx = 0;
};

// Line feeds are dropped; every carriage return ends a line. Without autoSize each piece is
// broken into words (a word ends after a space or a hyphen) that fill lines of widthPx; a word
// too long for any line is cut and its rest dropped.
FormattedLines formatLines(const QString& text, const LineFormatOptions& options,
                           const TextMeasure& measure);

}  // namespace wf
