#include "reports/report_device.h"

#include <algorithm>
#include <cmath>

#include "reports/report_page.h"

namespace wf {

namespace {

int roundToInt(double value) { return static_cast<int>(std::lround(value)); }

// Frame thickness in device pixels: the points converted at this factor, never thinner than one
// pixel for a visible frame.
int frameThickness(double factor, int widthPoints) {
  if (widthPoints <= 0) return 0;
  return std::max(1, roundToInt(factor * kNativeUnitsPerInch / 72.0 * widthPoints));
}

}  // namespace

ReportDevice::ReportDevice(PageCanvas& canvas, double offsetX, double offsetY)
    : canvas_(canvas),
      factorX_(canvas.dpiX() / kNativeUnitsPerInch),
      factorY_(canvas.dpiY() / kNativeUnitsPerInch),
      offsetX_(offsetX),
      offsetY_(offsetY) {}

int ReportDevice::XPos(double x) const { return roundToInt((x - offsetX_) * factorX_); }
int ReportDevice::YPos(double y) const { return roundToInt((y - offsetY_) * factorY_); }
int ReportDevice::lengthX(double length) const { return roundToInt(length * factorX_); }
int ReportDevice::lengthY(double length) const { return roundToInt(length * factorY_); }

QRect ReportDevice::toDevice(const QRectF& native) const {
  const int left = XPos(native.left());
  const int top = YPos(native.top());
  return QRect(left, top, XPos(native.right()) - left, YPos(native.bottom()) - top);
}

void ReportDevice::drawFrame(const QRect& rect, const TRepFrame& frame) {
  if (!frame.drawsAny()) return;
  const int horizontal = frameThickness(factorY_, frame.Width);
  const int vertical = frameThickness(factorX_, frame.Width);
  if (horizontal == 0 || vertical == 0) return;
  if (frame.DrawTop)
    canvas_.fillRect(QRect(rect.left(), rect.top(), rect.width(), horizontal), frame.Color);
  if (frame.DrawBottom)
    canvas_.fillRect(
        QRect(rect.left(), rect.top() + rect.height() - horizontal, rect.width(), horizontal),
        frame.Color);
  if (frame.DrawLeft)
    canvas_.fillRect(QRect(rect.left(), rect.top(), vertical, rect.height()), frame.Color);
  if (frame.DrawRight)
    canvas_.fillRect(
        QRect(rect.left() + rect.width() - vertical, rect.top(), vertical, rect.height()),
        frame.Color);
}

}  // namespace wf
