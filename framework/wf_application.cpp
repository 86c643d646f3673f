#include "framework/wf_application.h"

#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/system_format_settings.h"
#include "framework/text_codec.h"

#include <exception>

namespace wf {

WfApplication::WfApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QString::fromLatin1(kApplicationTitle));
  installFontSubstitutions();
  applySystemFormatSettings();
}

bool WfApplication::notify(QObject* receiver, QEvent* event) {
  return deliverGuarded([&] { return QApplication::notify(receiver, event); });
}

bool WfApplication::deliverGuarded(const std::function<bool()>& deliver) {
  try {
    return deliver();
  } catch (const std::exception& failure) {
    showDefaultError(exceptionText(failure));
  } catch (...) {
    showDefaultError(QString());
  }
  return false;
}

void runGuarded(const std::function<void()>& action) {
  WfApplication::deliverGuarded([&] {
    action();
    return true;
  });
}

}  // namespace wf
