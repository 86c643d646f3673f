#include "reports/line_format.h"

#include <algorithm>

namespace wf {

namespace {

// Every measured width carries one extra pixel, as the text output of the device needs it.
int measuredWidth(const TextMeasure& measure, const QString& text) { return measure(text) + 1; }

QStringList splitPieces(const QString& text) {
  QString cleaned = text;
  cleaned.remove(QLatin1Char('\n'));
  QStringList pieces = cleaned.split(QLatin1Char('\r'));
  // A carriage return ends its line; it does not start an empty one after it.
  if (pieces.size() > 1 && pieces.back().isEmpty()) pieces.removeLast();
  return pieces;
}

QStringList splitWords(const QString& piece) {
  QStringList words;
  int start = 0;
  for (int i = 0; i < piece.size(); ++i) {
    const QChar c = piece.at(i);
    if (c == QLatin1Char(' ') || c == QLatin1Char('-')) {
      words << piece.mid(start, i + 1 - start);
      start = i + 1;
    }
  }
  if (start < piece.size()) words << piece.mid(start);
  return words;
}

// Longest beginning of word whose measured width is below limit (strict) or at most limit.
QString longestBeginning(const QString& word, int limit, bool strict, const TextMeasure& measure) {
  const auto fits = [&](int length) {
    const int width = measuredWidth(measure, word.left(length));
    return strict ? width < limit : width <= limit;
  };
  int low = 0;  // fits (or is empty)
  int high = static_cast<int>(word.size());
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (fits(mid))
      low = mid;
    else
      high = mid - 1;
  }
  return word.left(low);
}

void wrapPiece(const QString& piece, int widthPx, const TextMeasure& measure, QStringList& lines) {
  const QStringList words = splitWords(piece);
  if (words.isEmpty()) {
    lines << QString();
    return;
  }
  const auto fits = [&](const QString& text) { return measuredWidth(measure, text) <= widthPx; };
  QString current;
  for (const QString& word : words) {
    if (current.isEmpty()) {
      if (fits(word)) {
        current = word;
      } else {
        lines << longestBeginning(word, widthPx, /*strict=*/true, measure);
      }
      continue;
    }
    if (fits(current + word)) {
      current += word;
      continue;
    }
    lines << current;
    current.clear();
    if (fits(word))
      current = word;
    else
      lines << longestBeginning(word, widthPx, /*strict=*/false, measure);
  }
  if (!current.isEmpty()) lines << current;
}

}  // namespace

FormattedLines formatLines(const QString& text, const LineFormatOptions& options,
                           const TextMeasure& measure) {
  FormattedLines result;
  result.widthPx = options.widthPx;
  if (text.isEmpty()) return result;
  const QStringList pieces = splitPieces(text);
  if (options.autoSize) {
    int widest = 0;
    for (const QString& piece : pieces) {
      result.lines << piece;
      widest = std::max(widest, measuredWidth(measure, piece));
    }
    result.widthPx = widest;
    return result;
  }
  for (const QString& piece : pieces) {
    if (options.wordWrap)
      wrapPiece(piece, options.widthPx, measure, result.lines);
    else
      result.lines << piece;
  }
  return result;
}

}  // namespace wf
