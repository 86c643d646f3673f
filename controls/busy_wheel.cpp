#include "controls/busy_wheel.h"

#include <QFile>

// The resource lives in a static library, so its registration must be pulled in explicitly;
// the macro only works outside a namespace.
static void registerBusyWheelResource() { Q_INIT_RESOURCE(busy_wheel); }

namespace wf {

QByteArray busyWheelGif() {
  static const bool registered = (registerBusyWheelResource(), true);
  (void)registered;
  QFile file(QStringLiteral(":/wf/busy_wheel.gif"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace wf
