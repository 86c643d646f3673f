// The closing window shown by Exit: closes the five tables children first (each close writes a
// changed table), advancing the progress cylinder after each, then waits on a one-second timer
// until every table has reported that it is closed.
//
// The sequence is one state machine. Only Exit starts it (Idle or Failed -> Closing); only the
// finished work (-> Done) or a table that could not be written (-> Failed) ends it. Nothing
// else moves it: a show event (a minimised window restored) leaves it alone, and the window
// cannot be closed (close box, Alt+F4, "x") while it is Closing, so the program never ends
// with a table unwritten.
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

  enum class State { Idle, Closing, Failed, Done };
  State state() const { return state_; }
  // Exit: starts the sequence, with the bar at 0 and no table closed yet. The window is then
  // shown modally; its activation does the work. Refused once Done.
  void begin();
  // True when the last sequence ended because a table could not be written.
  bool failed() const { return state_ == State::Failed; }
  // The tables the last sequence closed (and wrote), in closing order.
  const std::vector<TClientTable*>& closedTables() const { return closedTables_; }

  void Timer1Timer();
  void btnHelpClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void formActivate() override;

 private:
  void closeTables();
  void flushToScreen();
  void finish(State end);
  State state_ = State::Idle;
  bool workStarted_ = false;  // the activation of this sequence has begun closing the tables
  std::vector<TClientTable*> closedTables_;
};

extern TfrmClosing* frmClosing;

// Closes a table at Exit, which writes it when it changed. A file that cannot be written fails
// with a text naming it and saying that nothing is lost ("<file> could not be written: <reason>.
// Your changes are kept; Exit can be tried again.").
void closeTableForExit(TClientTable& table);

}  // namespace wf
