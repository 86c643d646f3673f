// The closing window shown by Exit: closes the five tables children first (each close writes a
// changed table), advancing the progress cylinder after each, then waits on a one-second timer
// until every table has reported that it is closed.
#pragma once

#include "framework/form_base.h"

#include <QTimer>

#include <vector>

class QLabel;
class QToolButton;

namespace wf {

class TClientTable;
class TGIFAnimator;
class TGradPanel;
class TProgressCyl;

class TfrmClosing : public FormBase {
  Q_OBJECT
 public:
  // The pause after each of the first four tables.
  static constexpr int kStepPauseMs = 250;

  explicit TfrmClosing(QWidget* parent = nullptr);

  // Controls, named as in the window's design; the window has no title bar or button bar.
  TGradPanel* GradPanel4;      // the whole window
  QLabel* Label1;              // "Writing Data..."
  QToolButton* btnHelp;        // "x" (Rapid Close): closes the window without waiting
  TGIFAnimator* GIFAnimator1;  // the busy wheel
  TProgressCyl* xipZip;        // progress: one step per table closed
  QTimer Timer1;               // once a second: closes the window when every table is closed

  // True when the last showing ended because a table could not be written.
  bool failed() const { return failed_; }
  // The tables the last showing closed (and wrote), in closing order.
  const std::vector<TClientTable*>& closedTables() const { return closedTables_; }

  void Timer1Timer();
  void btnHelpClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void formActivate() override;

 private:
  void closeTables();
  void flushToScreen();
  bool failed_ = false;
  std::vector<TClientTable*> closedTables_;
};

extern TfrmClosing* frmClosing;

}  // namespace wf
