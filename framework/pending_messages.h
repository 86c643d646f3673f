// "Let the framework process pending messages": handles the queued input and paint events so
// windows repaint between the steps of a long handler. Opens no thread.
#pragma once

#include <QCoreApplication>

namespace wf {

inline void processPendingMessages() { QCoreApplication::processEvents(); }

}  // namespace wf
