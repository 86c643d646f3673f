// The application object: a QApplication whose event delivery shows any failure that escapes an
// event handler in the framework's default error box, then lets the program go on.
#pragma once

#include <QApplication>

#include <functional>

namespace wf {

class WfApplication : public QApplication {
  Q_OBJECT
 public:
  // Also registers the font substitutions and fills the format settings from the system locale.
  WfApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Runs a delivery; a failure thrown from it is shown in the default error box and the delivery
  // counts as not handled.
  static bool deliverGuarded(const std::function<bool()>& deliver);
};

// For handlers that leave failures to the framework: runs the action and shows any failure in
// the default error box. Prefer this inside slots, so the failure never unwinds through Qt.
void runGuarded(const std::function<void()>& action);

}  // namespace wf
