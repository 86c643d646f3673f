// The unit the report layouts were designed in. They were drawn on the 96-dpi screen and their
// lengths stored in native units kept to two decimals: 8 pixels became 21.17, 40 pixels 105.83,
// 600 pixels 1587.5. The layouts are written in those pixels and converted here, once.
#pragma once

#include "reports/report_control.h"
#include "reports/report_page.h"

namespace wf {

// A length or position of the design, in its screen pixels (never negative), as the native units
// the layout stores: pixels * 254 / 96, rounded half up to hundredths. The rounding is done in
// integers and only the last step divides, so the result is the very double the two-decimal
// number written out would be (designPixels(8) == 21.17).
constexpr double designPixels(int pixels) {
  constexpr long long kHundredthsPerInch = static_cast<long long>(kNativeUnitsPerInch) * 100;
  const long long hundredths = (2 * pixels * kHundredthsPerInch + kScreenDpi) / (2LL * kScreenDpi);
  return double(hundredths) / 100.0;
}

static_assert(designPixels(8) == 21.17 && designPixels(40) == 105.83 &&
              designPixels(147) == 388.94 && designPixels(600) == 1587.5);

// Where a control sits on its band, in design pixels, in the order a designer reads them.
struct PixelBox {
  int left;
  int top;
  int width;
  int height;
};

// The control's stored size: native units, height first as the engine keeps it.
constexpr ControlSize nativeSize(const PixelBox& box) {
  return ControlSize{.Height = designPixels(box.height),
                     .Left = designPixels(box.left),
                     .Top = designPixels(box.top),
                     .Width = designPixels(box.width)};
}

}  // namespace wf
