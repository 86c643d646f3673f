// Shows the hourglass for as long as the guard lives; the previous cursor comes back on every
// path out of the scope, failures included.
#pragma once

#include <QApplication>
#include <QCursor>

namespace wf {

class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace wf
