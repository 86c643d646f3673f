#include "app/frm_closing.h"

#include "app/frm_main.h"
#include "controls/busy_wheel.h"
#include "controls/closing_cylinder_look.h"
#include "controls/gif_animator.h"
#include "controls/grad_panel.h"
#include "controls/progress_cyl.h"
#include "forms/window_parts.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "framework/pending_messages.h"
#include "framework/showing_errors.h"
#include "store/data_module.h"
#include "store/table_error.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QThread>
#include <QToolButton>

namespace wf {

TfrmClosing* frmClosing = nullptr;

TfrmClosing::TfrmClosing(QWidget* parent) : FormBase(parent) {
  setObjectName("frmClosing");
  setWindowFlag(Qt::FramelessWindowHint);
  setFont(msSansSerif(11));
  setFixedSize(235, 127);

  GradPanel4 = makePanel(this, PanelPreset::ContentPanel, QRect(0, 0, 235, 127));

  Label1 = new QLabel("Writing Data...", GradPanel4);
  Label1->setFont(msSansSerif(11, true));
  Label1->setStyleSheet("color: black; background: transparent;");
  Label1->move(80, 16);
  Label1->adjustSize();

  btnHelp = new QToolButton(GradPanel4);
  btnHelp->setText("x");
  btnHelp->setToolTip("Rapid Close");
  btnHelp->setAutoRaise(true);
  btnHelp->setFont(msSansSerif(13, true));
  btnHelp->setStyleSheet("QToolButton { color: rgb(0,128,255); }");
  btnHelp->setGeometry(202, 11, 23, 22);
  connect(btnHelp, &QToolButton::clicked, this, &TfrmClosing::btnHelpClick);

  GIFAnimator1 = new TGIFAnimator(GradPanel4);
  GIFAnimator1->setGeometry(96, 40, 32, 32);
  GIFAnimator1->loadFromData(busyWheelGif());
  GIFAnimator1->setAnimate(true);

  xipZip = new TProgressCyl(GradPanel4);
  xipZip->setGeometry(16, 88, 201, 25);
  applyClosingCylinderLook(*xipZip);

  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &TfrmClosing::Timer1Timer);
}

void TfrmClosing::begin() {
  if (state_ == State::Done) return;
  state_ = State::Closing;
  workStarted_ = false;
  closedTables_.clear();
  xipZip->setPosition(0);
}

void TfrmClosing::finish(State end) {
  state_ = end;
  Timer1.stop();
  closeForm();
}

void TfrmClosing::showEvent(QShowEvent* event) {
  // The state belongs to the sequence, not to the showing: a minimised window that is restored
  // is shown again in the middle of it.
  FormBase::showEvent(event);
  if (event->spontaneous()) return;
  if (frmMain != nullptr) centreOver(frmMain);
  // FormShow: paint before the work starts.
  processPendingMessages();
}

void TfrmClosing::closeEvent(QCloseEvent* event) {
  if (state_ == State::Closing) {
    event->ignore();
    return;
  }
  FormBase::closeEvent(event);
}

void TfrmClosing::formActivate() {
  if (state_ != State::Closing || workStarted_) return;
  workStarted_ = true;
  processPendingMessages();
  const bool written = runShowingErrors(
      [&] {
        closeTables();
        Timer1.start();
        xipZip->setPosition(xipZip->Position() + 1);
      },
      [&] { state_ = State::Failed; });
  if (!written) finish(State::Failed);
}

namespace {

// The reason a table's file could not be written, without the file name the message may carry.
std::string reasonOf(const TableError& failure, const std::string& file) {
  if (const auto* write = dynamic_cast<const FileWriteError*>(&failure)) return write->reason();
  std::string text = failure.what();
  const std::string named = "Cannot create file " + file;
  if (text == named) return "cannot create the file";
  return text;
}

}  // namespace

void closeTableForExit(TClientTable& table) {
  try {
    table.close();
  } catch (const EngineError&) {
    throw;  // the engine's own failures keep their code and empty text
  } catch (const TableError& failure) {
    const std::string reason = reasonOf(failure, table.FileName());
    throw TableError(table.FileName() + " could not be written: " + reason +
                     (reason.empty() || reason.back() == '.' ? "" : ".") +
                     " Your changes are kept; Exit can be tried again.");
  }
}

void TfrmClosing::closeTables() {
  // Children before their masters.
  const std::vector<TableFile> steps = DataModule1->tablesInClosingOrder();
  for (std::size_t i = 0; i < steps.size(); ++i) {
    TClientTable& table = *steps[i].table;
    if (table.Active()) {
      closeTableForExit(table);  // writes a changed table; its after-close handler sets the flag
      closedTables_.push_back(&table);
    } else {
      frmMain->closedFlag(steps[i].flag) = true;
    }
    if (i + 1 < steps.size()) {
      xipZip->setPosition(xipZip->Position() + 1);
      flushToScreen();
      QThread::msleep(kStepPauseMs);
    }
  }
}

void TfrmClosing::flushToScreen() {
  // The bar has repainted itself; make sure the display has the new frame before the thread
  // sleeps, so each step is seen while it lasts.
  QGuiApplication::sync();
}

void TfrmClosing::Timer1Timer() {
  if (state_ == State::Closing && frmMain->allTablesClosed()) {
    finish(State::Done);
    return;
  }
  xipZip->setPosition(0);
}

void TfrmClosing::btnHelpClick() {
  // Spares the wait for the timer, once every table is closed; before that it does nothing.
  if (state_ == State::Closing && workStarted_ && frmMain->allTablesClosed()) finish(State::Done);
}

}  // namespace wf
