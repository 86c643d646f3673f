#include "controls/grad_style_color.h"

namespace wf {

QRgb systemColorRgb(SystemColor role) {
  switch (role) {
    case SystemColor::ButtonFace: return qRgb(212, 208, 200);
    case SystemColor::ButtonHighlight: return qRgb(255, 255, 255);
    case SystemColor::ButtonShadow: return qRgb(128, 128, 128);
    case SystemColor::Window: return qRgb(255, 255, 255);
    case SystemColor::WindowText: return qRgb(0, 0, 0);
    case SystemColor::Highlight: return qRgb(10, 36, 106);
  }
  return qRgb(0, 0, 0);
}

QRgb StyleColor::rgb() const {
  if (isSystem()) return systemColorRgb(systemRole());
  return qRgb(static_cast<int>(value_ & 0xff), static_cast<int>((value_ >> 8) & 0xff),
              static_cast<int>((value_ >> 16) & 0xff));
}

}  // namespace wf
