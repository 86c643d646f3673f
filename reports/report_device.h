// A page surface seen in native units: converts positions and lengths to device pixels with the
// device factor (pixels per native unit) and the printer's unprintable offset, and draws the
// report's fills and frame lines.
#pragma once

#include <QRect>
#include <QRectF>

#include "reports/page_canvas.h"
#include "reports/report_frame.h"

namespace wf {

class ReportDevice {
 public:
  // offsetX/offsetY: the unprintable left and top margins in native units (0 for the page
  // store). The canvas must outlive the device.
  ReportDevice(PageCanvas& canvas, double offsetX = 0, double offsetY = 0);

  PageCanvas& canvas() const { return canvas_; }
  double factorX() const { return factorX_; }
  double factorY() const { return factorY_; }

  int XPos(double x) const;
  int YPos(double y) const;
  int lengthX(double length) const;
  int lengthY(double length) const;
  // The native rectangle's corners converted with XPos/YPos.
  QRect toDevice(const QRectF& native) const;

  // Draws the frame's lines inside rect, each a filled strip along one edge.
  void drawFrame(const QRect& rect, const TRepFrame& frame);

 private:
  PageCanvas& canvas_;
  double factorX_;
  double factorY_;
  double offsetX_;
  double offsetY_;
};

}  // namespace wf
