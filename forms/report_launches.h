// The report launches of the main window, as the list windows call them. The main window lives
// in the application layer above this one, so the windows reach it through this interface; the
// program sets reportLaunches when it creates the main window.
#pragma once

namespace wf {

class TReportLaunches {
 public:
  virtual ~TReportLaunches() = default;
  // Each previews its report and returns when the preview window has been closed. Callers test
  // first that the report will have rows and catch failures themselves.
  virtual void LaunchServiceReport() = 0;
  virtual void LaunchExpenseReport() = 0;
  virtual void LaunchServiceLineReport() = 0;
};

// Null until the main window exists.
extern TReportLaunches* reportLaunches;

}  // namespace wf
