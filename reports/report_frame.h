// The frame lines of a band or a printable control: which edges carry a line, its colour and
// its thickness in points.
#pragma once

#include <QColor>

namespace wf {

enum class FrameStyle { psSolid };

struct TRepFrame {
  QColor Color = Qt::black;
  bool DrawTop = false;
  bool DrawBottom = false;
  bool DrawLeft = false;
  bool DrawRight = false;
  FrameStyle Style = FrameStyle::psSolid;
  // Line thickness in points.
  int Width = 1;

  bool drawsAny() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
  // The line thickness in native units, rounded (how far text moves away from a framed edge).
  int widthInNativeUnits() const;
};

}  // namespace wf
