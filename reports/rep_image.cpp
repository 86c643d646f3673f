#include "reports/rep_image.h"

#include <cmath>

#include "reports/report_device.h"
#include "reports/report_reference_surface.h"

namespace wf {

void TRepImage::print(ReportPrintContext& context, double ox, double oy) {
  ReportDevice& device = context.device;
  PageCanvas& canvas = device.canvas();
  const int left = device.XPos(ox + Size.Left);
  const int top = device.YPos(oy + Size.Top);
  const QRect box(left, top, device.XPos(ox + Size.Left + Size.Width) - left,
                  device.YPos(oy + Size.Top + Size.Height) - top);
  if (!Picture.isNull()) {
    if (Stretch) {
      canvas.drawPicture(box, Picture);
    } else {
      // Natural size: a picture pixel is a screen pixel at 96 per inch.
      const double scaleX = static_cast<double>(canvas.dpiX()) / ReportReferenceSurface::kDpi;
      const double scaleY = static_cast<double>(canvas.dpiY()) / ReportReferenceSurface::kDpi;
      const int width = static_cast<int>(std::lround(Picture.width() * scaleX));
      const int height = static_cast<int>(std::lround(Picture.height() * scaleY));
      QRect target(box.left(), box.top(), width, height);
      if (Center) target.translate((box.width() - width) / 2, (box.height() - height) / 2);
      canvas.setClipRect(box);
      canvas.drawPicture(target, Picture);
      canvas.clearClip();
    }
  }
  device.drawFrame(box, Frame);
}

}  // namespace wf
