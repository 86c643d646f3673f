// The drawing surface of one report page: what the report engine and its printable controls
// need to put a page down, and nothing more. Implemented by a direct QPainter surface (screen
// reference, printer) and by the page recorder that stores pages as Enhanced Metafiles.
//
// Coordinates are device pixels of the page surface, origin at the top-left corner of the
// printable area; dpiX()/dpiY() tell how many pixels make an inch so callers can convert from
// native units (tenths of a millimetre).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace wf {

enum class TextAnchor { Left, Center, Right };

class PageCanvas {
 public:
  virtual ~PageCanvas() = default;

  virtual int dpiX() const = 0;
  virtual int dpiY() const = 0;
  // The whole page in device pixels.
  virtual QSize pageSize() const = 0;

  // Font used by textWidth/textHeight and drawText until the next setFont. Point sizes are
  // honoured at the surface's own resolution.
  virtual void setFont(const QFont& font) = 0;
  virtual int textWidth(const QString& text) const = 0;
  virtual int textHeight() const = 0;

  virtual void fillRect(const QRect& rect, const QColor& color) = 0;

  // Draws one line of text whose top edge is at y. x is the left edge, the centre or the right
  // edge of the text, as anchor says. The text is drawn without a background.
  virtual void drawText(int x, int y, TextAnchor anchor, const QString& text,
                        const QColor& color) = 0;

  // Scales the picture into target.
  virtual void drawPicture(const QRect& target, const QImage& picture) = 0;

  // Everything drawn until clearClip() is cut to rect.
  virtual void setClipRect(const QRect& rect) = 0;
  virtual void clearClip() = 0;
};

}  // namespace wf
