// The closing window's busy indicator: an animated 32 by 32 GIF built into the program
// (written by tools/make_busy_wheel).
#pragma once

#include <QByteArray>

namespace wf {

// The GIF file's bytes.
QByteArray busyWheelGif();

}  // namespace wf
