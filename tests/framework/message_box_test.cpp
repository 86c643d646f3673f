#include "framework/message_box.h"
#include "framework/showing_errors.h"
#include "framework/wf_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <stdexcept>
#include <vector>

namespace wf {
namespace {

TEST(MessageBox, ConventionsOfEachKind) {
  MessageBoxRecorder recorder;
  showError(QStringLiteral("Disk full"));
  showInformation(QStringLiteral("Image Copied."));
  confirm(QStringLiteral("Delete selected vehicle?"));
  showDefaultError(QStringLiteral("JPEG error #53"));
  const auto& boxes = recorder.boxes();
  ASSERT_EQ(boxes.size(), 4u);

  EXPECT_EQ(boxes[0].kind, MessageKind::Error);
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].text, "Disk full");  // handlers' own boxes add no full stop
  EXPECT_EQ(boxes[0].icon, MessageIcon::Critical);
  EXPECT_EQ(boxes[0].buttons, QStringList{"OK"});

  EXPECT_EQ(boxes[1].caption, "Information");
  EXPECT_EQ(boxes[1].icon, MessageIcon::Information);
  EXPECT_EQ(boxes[1].buttons, QStringList{"OK"});

  EXPECT_EQ(boxes[2].caption, "Confirm");
  EXPECT_EQ(boxes[2].icon, MessageIcon::Question);
  EXPECT_EQ(boxes[2].buttons, (QStringList{"&Yes", "&No"}));
  EXPECT_EQ(boxes[2].buttons[boxes[2].defaultButton], "&Yes");
  EXPECT_EQ(boxes[2].buttons[boxes[2].escapeButton], "&No");

  EXPECT_EQ(boxes[3].caption, "Tembra Office - Wrenfold");
  EXPECT_EQ(boxes[3].text, "JPEG error #53.");
  EXPECT_EQ(boxes[3].icon, MessageIcon::Critical);
  EXPECT_EQ(boxes[3].buttons, QStringList{"OK"});
}

TEST(MessageBox, OnlyYesGoesAhead) {
  MessageBoxRecorder recorder;
  recorder.queueAnswer(MessageAnswer::Yes);
  recorder.queueAnswer(MessageAnswer::No);
  recorder.queueAnswer(MessageAnswer::Ok);
  EXPECT_TRUE(confirm(QStringLiteral("Delete?")));
  EXPECT_FALSE(confirm(QStringLiteral("Delete?")));
  EXPECT_FALSE(confirm(QStringLiteral("Delete?")));
  EXPECT_FALSE(confirm(QStringLiteral("Delete?")));  // nothing scripted: No
}

TEST(MessageBox, DefaultErrorFullStopRule) {
  const std::vector<std::pair<QString, QString>> cases = {
      {"", ""},
      {"Cannot open clipboard", "Cannot open clipboard."},
      {"Bitmap image is not valid.", "Bitmap image is not valid."},
      {"Stop!", "Stop!"},       // '!' is below '.'
      {"Really?", "Really?."},  // '?' is above '.'
      {"JPEG error #42", "JPEG error #42."},
      {"a-", "a-"},          // '-' sits just below '.'
      {"path/", "path/."},   // '/' sits just above '.'
      {"(.xyz)", "(.xyz)"},  // ')' is below '.'
      {"trailing space ", "trailing space "},
      {QString::fromUtf16(u"caf\u00E9"), QString::fromUtf16(u"caf\u00E9.")},
  };
  for (const auto& [message, shown] : cases) {
    SCOPED_TRACE(message.toStdString());
    EXPECT_EQ(defaultErrorText(message), shown);
  }
}

// The real box, answered by keys: Enter takes the default button, Esc the escape button.
MessageAnswer pressOnRealConfirm(int key, QString* caption, QStringList* buttons) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    *caption = box->windowTitle();
    for (QAbstractButton* button : box->buttons()) *buttons << button->text();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
  });
  return confirm(QStringLiteral("Delete selected vehicle?")) ? MessageAnswer::Yes
                                                             : MessageAnswer::No;
}

TEST(MessageBox, RealConfirmBoxDefaultsToYesAndEscapeAnswersNo) {
  QString caption;
  QStringList buttons;
  EXPECT_EQ(pressOnRealConfirm(Qt::Key_Return, &caption, &buttons), MessageAnswer::Yes);
  EXPECT_EQ(caption, "Confirm");
  EXPECT_EQ(buttons, (QStringList{"&Yes", "&No"}));
  EXPECT_EQ(pressOnRealConfirm(Qt::Key_Escape, &caption, &buttons), MessageAnswer::No);
}

// The real boxes of the program's short messages are wide enough for their caption in the title
// bar font, beside the title bar's icon and buttons; a long text still widens the box past that.
TEST(MessageBox, RealBoxesAreWideEnoughForTheirCaption) {
  struct Case {
    std::function<void()> show;
    QString caption;
  };
  const std::vector<Case> cases = {
      {[] { showInformation(QStringLiteral("Image Copied.")); }, QStringLiteral("Information")},
      {[] { showDefaultError(QStringLiteral("x")); }, QString::fromLatin1(kApplicationTitle)},
      {[] { showError(QStringLiteral("JPEG error #53")); }, QStringLiteral("Error")},
      {[] { confirm(QStringLiteral("Delete?")); }, QStringLiteral("Confirm")},
  };
  const int captionInk =
      QFontMetrics(titleBarFont()).horizontalAdvance(QString::fromLatin1(kApplicationTitle));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption.toStdString());
    QString caption;
    int width = 0;
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      width = box->width();
      box->close();
    });
    c.show();
    EXPECT_EQ(caption, c.caption);
    EXPECT_GE(width, messageBoxMinimumWidth(c.caption));
  }
  // The allowance for the title bar's icon and buttons is real room, not a token amount.
  EXPECT_GE(messageBoxMinimumWidth(QString::fromLatin1(kApplicationTitle)), captionInk + 60);

  const QString longText(120, QLatin1Char('m'));
  int longWidth = 0;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    longWidth = box->width();
    box->close();
  });
  showError(longText);
  EXPECT_GT(longWidth, messageBoxMinimumWidth(QStringLiteral("Error")));
}

TEST(MessageBox, UncaughtFailuresReachTheDefaultBox) {
  MessageBoxRecorder recorder;
  EXPECT_FALSE(WfApplication::deliverGuarded(
      []() -> bool { throw std::runtime_error("Unknown picture file extension (.txt)"); }));
  EXPECT_TRUE(WfApplication::deliverGuarded([] { return true; }));
  runGuarded([] { throw 42; });
  ASSERT_EQ(recorder.boxes().size(), 2u);
  EXPECT_EQ(recorder.boxes()[0].kind, MessageKind::DefaultError);
  EXPECT_EQ(recorder.boxes()[0].text, "Unknown picture file extension (.txt)");
  EXPECT_EQ(recorder.boxes()[1].text, "");
}

TEST(MessageBox, HandlerFailuresReachTheErrorBoxAndSkipTheRestOfTheWork) {
  MessageBoxRecorder recorder;
  std::vector<QString> steps;
  EXPECT_TRUE(runShowingErrors([&] { steps.push_back("work"); }));
  const bool finished = runShowingErrors(
      [&] {
        steps.push_back("post");
        throw std::runtime_error("Key violation");
        steps.push_back("close");
      },
      [&] {
        steps.push_back("cancel");
        EXPECT_TRUE(recorder.boxes().empty());  // the undo runs before the box
      });
  EXPECT_FALSE(finished);
  EXPECT_EQ(steps, (std::vector<QString>{"work", "post", "cancel"}));
  ASSERT_EQ(recorder.boxes().size(), 1u);
  EXPECT_EQ(recorder.boxes()[0].kind, MessageKind::Error);
  EXPECT_EQ(recorder.boxes()[0].text, "Key violation");
  // Only std::exception is the handler's to show; anything else goes on to the default box.
  EXPECT_THROW(runShowingErrors([] { throw 42; }), int);
}

TEST(MessageBox, RecorderRestoresThePreviousHook) {
  MessageBoxRecorder outer;
  {
    MessageBoxRecorder inner;
    showError(QStringLiteral("inner"));
    EXPECT_EQ(inner.boxes().size(), 1u);
  }
  showError(QStringLiteral("outer"));
  ASSERT_EQ(outer.boxes().size(), 1u);
  EXPECT_EQ(outer.boxes()[0].text, "outer");
}

}  // namespace
}  // namespace wf
