#include "framework/form_base.h"
#include "framework/busy_cursor.h"
#include "framework/message_box.h"
#include "framework/pending_messages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <stdexcept>

namespace wf {
namespace {

class CountingForm : public FormBase {
 public:
  int activations = 0;
  bool failActivation = false;

 protected:
  void formActivate() override {
    ++activations;
    if (failActivation) throw std::runtime_error("JPEG error #53");
  }
};

TEST(FormBase, ModalShowingReturnsTheResultWhenTheFormCloses) {
  CountingForm form;
  QTimer::singleShot(0, &form, [&] { form.setModalResult(ModalResult::Ok); });
  EXPECT_EQ(form.showModal(), ModalResult::Ok);
  EXPECT_TRUE(form.isHidden());

  // The close box ends the showing with Cancel; the form is hidden, not destroyed.
  QPointer<CountingForm> alive(&form);
  QTimer::singleShot(0, &form, [&] { form.close(); });
  EXPECT_EQ(form.showModal(), ModalResult::Cancel);
  EXPECT_FALSE(alive.isNull());
  EXPECT_TRUE(form.isHidden());
}

TEST(FormBase, ActivationRunsOncePerShowing) {
  CountingForm form;
  for (int showing = 1; showing <= 2; ++showing) {
    QTimer::singleShot(20, &form, [&] { form.closeForm(); });
    form.showModal();
    EXPECT_EQ(form.activations, showing);
  }
}

TEST(FormBase, ActivationFailureReachesTheDefaultBoxAndTheFormStaysOpen) {
  MessageBoxRecorder recorder;
  CountingForm form;
  form.failActivation = true;
  bool openAfterFailure = false;
  QTimer::singleShot(20, &form, [&] {
    openAfterFailure = form.isVisible();
    form.closeForm();
  });
  form.showModal();
  EXPECT_TRUE(openAfterFailure);
  ASSERT_EQ(recorder.boxes().size(), 1u);
  EXPECT_EQ(recorder.boxes()[0].kind, MessageKind::DefaultError);
  EXPECT_EQ(recorder.boxes()[0].text, "JPEG error #53.");
}

TEST(FormBase, EscapeDoesNotCloseTheForm) {
  CountingForm form;
  bool openAfterEscape = false;
  QTimer::singleShot(0, &form, [&] {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&form, &escape);
    openAfterEscape = form.isVisible();
    form.closeForm();
  });
  form.showModal();
  EXPECT_TRUE(openAfterEscape);
}

TEST(FormBase, FixedDialogBorderGivesTheClientSize) {
  CountingForm form;
  form.setFixedDialogBorder(707, 256);
  EXPECT_EQ(form.size(), QSize(707, 256));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(BusyCursor, HourglassWhileAliveRestoredOnFailure) {
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  try {
    BusyCursor busy;
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    throw std::runtime_error("post failed");
  } catch (const std::runtime_error&) {}
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(PendingMessages, QueuedWorkRunsInsideTheCall) {
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  processPendingMessages();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace wf
