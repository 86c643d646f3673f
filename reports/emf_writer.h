// A page canvas that records one page as an Enhanced Metafile byte stream instead of drawing
// it: the form in which the page store keeps pages and from which the player redraws them at
// any scale. Text keeps the real per-character advances of its font.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QMap>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <optional>

#include "reports/page_canvas.h"
#include "reports/page_font.h"
#include "reports/report_page.h"

namespace wf {

class EmfWriter : public PageCanvas {
 public:
  // An A4 page at 96 pixels per inch: 794 by 1123.
  static QSize a4PageSize() { return QSize(794, 1123); }

  explicit EmfWriter(QSize pageSize = a4PageSize(), int dpiX = kScreenDpi, int dpiY = kScreenDpi);

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

  // Ends the recording (EMR_EOF, header totals) and returns the stream. Nothing may be drawn
  // afterwards; a second call returns the same stream.
  QByteArray finish();

 private:
  void beginRecord(uint32_t type, uint32_t size);
  void setValue(uint32_t type, uint32_t value);
  void selectObject(uint32_t handle);
  uint32_t brushFor(uint32_t colorRef);
  uint32_t fontFor(const PageFont& font);
  uint32_t newSlot();
  void releaseObjects();
  void forgetSelection();
  void includeBounds(const QRect& rect);

  QByteArray data_;
  uint32_t records_ = 0;
  uint32_t nextSlot_ = 1;
  uint32_t highestSlot_ = 0;
  QSize pageSize_;
  int dpiX_;
  int dpiY_;
  PageFont pageFont_;
  QFont font_;
  QMap<uint32_t, uint32_t> brushes_;  // colour -> slot
  QList<QPair<PageFont, uint32_t>> fonts_;
  std::optional<uint32_t> selectedBrush_;
  std::optional<uint32_t> selectedFont_;
  std::optional<uint32_t> textColor_;
  std::optional<uint32_t> textAlign_;
  bool clipped_ = false;
  bool finished_ = false;
  QRect bounds_;
};

}  // namespace wf
