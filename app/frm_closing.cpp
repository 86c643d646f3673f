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

void TfrmClosing::showEvent(QShowEvent* event) {
  // A showing after a failed write starts the bar again from the beginning.
  xipZip->setPosition(0);
  closedTables_.clear();
  failed_ = false;
  FormBase::showEvent(event);
  if (frmMain != nullptr) centreOver(frmMain);
  // FormShow: paint before the work starts.
  processPendingMessages();
}

void TfrmClosing::formActivate() {
  processPendingMessages();
  const bool written = runShowingErrors(
      [&] {
        closeTables();
        Timer1.start();
        xipZip->setPosition(xipZip->Position() + 1);
      },
      [&] { failed_ = true; });
  if (!written) {
    Timer1.stop();
    closeForm();
  }
}

void TfrmClosing::closeTables() {
  // Children before their masters.
  const std::vector<TableFile> steps = DataModule1->tablesInClosingOrder();
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].table->Active()) {
      steps[i].table->close();  // writes a changed table; its after-close handler sets the flag
      closedTables_.push_back(steps[i].table);
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
  if (frmMain->allTablesClosed()) {
    Timer1.stop();
    closeForm();
    return;
  }
  xipZip->setPosition(0);
}

void TfrmClosing::btnHelpClick() {
  Timer1.stop();
  closeForm();
}

}  // namespace wf
