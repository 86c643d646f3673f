// Redraws a page recorded as an Enhanced Metafile onto any QPainter at any scale (preview,
// printing a loaded report, PDF). The whole stream is checked before anything is drawn: a
// damaged recording draws nothing and fails with EmfError.
#pragma once

#include <QByteArray>
#include <QRect>
#include <QRectF>
#include <QSize>

#include <cstdint>
#include <stdexcept>

class QPainter;

namespace wf {

class EmfError : public std::runtime_error {
 public:
  EmfError(const QString& message, qint64 offset);
  // Byte offset of the record at fault.
  qint64 offset() const { return offset_; }

 private:
  qint64 offset_;
};

struct EmfPageInfo {
  QRect bounds;       // drawn area, device pixels
  QRect frame;        // page, 0.01 mm
  QSize device;       // reference device, pixels
  QSize millimeters;  // reference device, millimetres
  uint32_t records = 0;
  uint32_t handles = 0;

  // Size of the page in the recording's own pixels.
  QSize pageSizePixels() const;
  // Size of the page in tenths of a millimetre.
  QSizeF pageSizeNative() const;
};

class EmfPlayer {
 public:
  // Checks the header and every record; throws EmfError naming the fault and its offset.
  static EmfPageInfo parse(const QByteArray& stream);
  // Draws the page so that its pixel area covers target. The painter's state is kept.
  static void play(const QByteArray& stream, QPainter& painter, const QRectF& target);
};

}  // namespace wf
