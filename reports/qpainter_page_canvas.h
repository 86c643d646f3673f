// A page canvas that draws straight onto a QPainter: the screen-compatible reference surface,
// a printer page or a QImage. Text and pictures come out exactly as a page recording of the
// same calls replays them.
#pragma once

#include <QFont>
#include <QSize>

#include "reports/page_canvas.h"

class QPainter;

namespace wf {

class QPainterPageCanvas : public PageCanvas {
 public:
  // The painter must stay active on its device while the canvas lives; dpi and pageSize
  // describe the device. The painter's state is saved here and restored by the destructor.
  QPainterPageCanvas(QPainter& painter, int dpiX, int dpiY, QSize pageSize);
  // Takes the resolution and size from the painter's device.
  explicit QPainterPageCanvas(QPainter& painter);
  ~QPainterPageCanvas() override;
  QPainterPageCanvas(const QPainterPageCanvas&) = delete;
  QPainterPageCanvas& operator=(const QPainterPageCanvas&) = delete;

  int dpiX() const override { return dpiX_; }
  int dpiY() const override { return dpiY_; }
  QSize pageSize() const override { return pageSize_; }

  void setFont(const QFont& font) override;
  int textWidth(const QString& text) const override;
  int textHeight() const override;

  void fillRect(const QRect& rect, const QColor& color) override;
  void drawText(int x, int y, TextAnchor anchor, const QString& text, const QColor& color) override;
  void drawPicture(const QRect& target, const QImage& picture) override;
  void setClipRect(const QRect& rect) override;
  void clearClip() override;

 private:
  QPainter& painter_;
  int dpiX_;
  int dpiY_;
  QSize pageSize_;
  QFont font_;
  bool clipped_ = false;
};

// Colours of a page are opaque; a fully transparent colour draws nothing.
inline bool drawsNothing(const QColor& color) { return color.alpha() == 0; }

}  // namespace wf
