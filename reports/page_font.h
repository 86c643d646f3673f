// The font of a page as far as a page recording keeps it (face, pixel height, weight, italic,
// underline, strike-out), and the per-character layout of one line of text in it. Direct
// drawing, the EMF recorder and the EMF player all go through this, so a replayed page places
// every character exactly where direct drawing put it.
#pragma once

#include <QFont>
#include <QString>
#include <QVector>

class QPainter;

namespace wf {

struct PageFont {
  QString family;
  int pixelHeight = 13;  // em height in device pixels
  int weight = 400;      // 100..900, 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  // Point sizes become pixels at dpiY (rounded); a font given in pixels is taken as screen
  // pixels at 96 per inch and scaled to dpiY.
  static PageFont fromQFont(const QFont& font, int dpiY);
  QFont toQFont() const;

  bool operator==(const PageFont&) const = default;
};

// One line of text laid out character by character: advances[i] is the advance of UTF-16 unit
// i (the second unit of a surrogate pair advances 0).
struct TextRun {
  QVector<int> advances;
  int width = 0;
  int ascent = 0;
  int descent = 0;
};

TextRun layoutText(const QFont& font, const QString& text);

// Draws text with its first character's left edge at x and its baseline at baseline, each
// character at the position the advances give, in the painter's current font and pen.
void paintTextRun(QPainter& painter, int x, int baseline, const QString& text,
                  const QVector<int>& advances);

// Height of a line of the font in pixels (ascent + descent).
int fontTextHeight(const QFont& font);

}  // namespace wf
