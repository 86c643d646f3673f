// The date edit as a user meets it: what it shows, its keys, and its calendar popup.
#include "controls/custom_date_edit.h"
#include "controls/date_calendar_grid.h"
#include "controls/popup_calendar.h"
#include "framework/message_box.h"
#include "store/format_settings.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace wf {
namespace {

const QDateTime kNow(QDate(2026, 6, 15), QTime(14, 30));

DateLocale dayMonthYear(QChar separator = u'/') {
  DateLocale locale;
  locale.shortDateFormat = QStringLiteral("dd/MM/yyyy");
  locale.separator = separator;
  locale.shortDayNames = QStringList{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  locale.longMonthNames =
      QStringList{"January", "February", "March",     "April",   "May",      "June",
                  "July",    "August",   "September", "October", "November", "December"};
  return locale;
}

// The window around the edit; it records the keys the edit leaves to the form.
class Host : public QWidget {
 public:
  std::vector<int> keys;

 protected:
  void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

class DateEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<Host>();
    host->resize(400, 200);
    edit = new TCustomDateEdit(host.get());
    edit->setGeometry(192, 56, 161, 22);
    edit->setDateLocale(dayMonthYear());
    edit->setNowFunction([] { return kNow; });
    host->show();
    QApplication::setActiveWindow(host.get());
    edit->setFocus();
    setDateEditBeep([this] { ++beeps; });
  }
  void TearDown() override {
    setDateEditBeep(nullptr);
    edit->popupCloseUp(false);
    host.reset();
  }

  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(edit, key, modifiers);
  }
  void keypad(Qt::Key key) { press(key, Qt::KeypadModifier); }
  QString shown() const { return edit->displayText(); }

  std::unique_ptr<Host> host;
  TCustomDateEdit* edit = nullptr;
  int beeps = 0;
};

TEST_F(DateEditTest, ShowsDatesInTheLocaleOrderWithItsSeparator) {
  edit->setDate(QDate(2026, 12, 9));
  EXPECT_EQ(edit->dateFormat(), QStringLiteral("DD/MM/YYYY"));
  EXPECT_EQ(edit->editMask(), QStringLiteral("!99/99/9999;1; "));
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));

  edit->setDateLocale(dayMonthYear(u'.'));
  EXPECT_EQ(shown(), QStringLiteral("09.12.2026"));
  EXPECT_EQ(edit->date(), QDate(2026, 12, 9));

  edit->setYearDigits(YearDigits::Two);
  EXPECT_EQ(edit->dateFormat(), QStringLiteral("DD/MM/YY"));
  EXPECT_EQ(shown(), QStringLiteral("09.12.26"));

  DateLocale us = dayMonthYear();
  us.shortDateFormat = QStringLiteral("M/d/yyyy");
  edit->setYearDigits(YearDigits::Default);
  edit->setDateLocale(us);
  EXPECT_EQ(shown(), QStringLiteral("12/09/2026"));

  edit->setBlanksChar(u'_');
  edit->setDate(QDate());
  EXPECT_EQ(shown(), QStringLiteral("__/__/____"));
}

TEST(DateEditLocale, ComesFromTheFormatSettingsAndFollowsTheirChanges) {
  const FormatSettings saved = formatSettings();
  formatSettings().shortDateFormat = "yyyy-mm-dd";
  formatSettings().dateSeparator = '-';
  formatSettings().shortDayNames = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
  formatSettings().longMonthNames[1] = "F\xe9vrier";  // Windows-1252
  {
    TCustomDateEdit edit;
    edit.setDate(QDate(2026, 12, 9));
    EXPECT_EQ(edit.dateFormat(), QStringLiteral("YYYY/MM/DD"));
    EXPECT_EQ(edit.displayText(), QStringLiteral("2026-12-09"));
    EXPECT_EQ(edit.dateLocale().shortDayNames.first(), QStringLiteral("Mo"));
    EXPECT_EQ(edit.dateLocale().shortDayNames.last(), QStringLiteral("Su"));
    EXPECT_EQ(edit.dateLocale().longMonthNames.value(1), QString::fromUtf8("F\u00e9vrier"));

    // Changed regional settings rebuild the format and show the date in the new one.
    formatSettings().shortDateFormat = "d.m.yy";
    formatSettings().dateSeparator = '.';
    QEvent changed(QEvent::LocaleChange);
    QCoreApplication::sendEvent(&edit, &changed);
    EXPECT_EQ(edit.dateFormat(), QStringLiteral("DD/MM/YY"));
    EXPECT_EQ(edit.editMask(), QStringLiteral("!99/99/99;1; "));
    EXPECT_EQ(edit.displayText(), QStringLiteral("09.12.26"));
  }
  formatSettings() = saved;
}

TEST_F(DateEditTest, EmptyOrOutOfRangeDatesShowTodayOnlyWithDefaultToday) {
  edit->setDate(QDate());
  EXPECT_EQ(shown(), QStringLiteral("  /  /    "));
  EXPECT_EQ(edit->date(), QDate());

  edit->setDefaultToday(true);
  EXPECT_EQ(edit->date(), kNow.date()) << "blank text reads as the fallback";
  edit->setDate(QDate());
  EXPECT_EQ(shown(), QStringLiteral("15/06/2026"));
  edit->setDate(QDate(10000, 1, 1));
  EXPECT_EQ(shown(), QStringLiteral("15/06/2026"));
}

TEST_F(DateEditTest, KeypadPlusAndMinusStepOneDay) {
  edit->setDate(QDate());
  keypad(Qt::Key_Minus);
  EXPECT_EQ(shown(), QStringLiteral("14/06/2026")) << "minus on an empty edit shows yesterday";
  EXPECT_TRUE(edit->isModified());
  EXPECT_EQ(edit->selectedText(), edit->text());

  edit->setDate(QDate(2026, 12, 31));
  keypad(Qt::Key_Plus);
  EXPECT_EQ(shown(), QStringLiteral("01/01/2027"));
  keypad(Qt::Key_Minus);
  keypad(Qt::Key_Minus);
  EXPECT_EQ(shown(), QStringLiteral("30/12/2026"));
}

TEST_F(DateEditTest, MainKeyboardPlusMinusAreSwallowedAndOtherCharactersRejected) {
  edit->setDate(QDate(2026, 12, 9));
  edit->setCursorPosition(0);
  for (char c : std::string("+-")) QTest::keyClick(edit, c);
  EXPECT_EQ(beeps, 0) << "+ and - are swallowed quietly";
  for (char c : std::string("a x.")) QTest::keyClick(edit, c);
  EXPECT_EQ(beeps, 4);
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
  EXPECT_FALSE(edit->isModified());
  QTest::keyClick(edit, '/');
  QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(beeps, 4) << "the separator and editing keys are no rejected characters";
}

TEST_F(DateEditTest, TSetsToday) {
  edit->setDate(QDate(2026, 12, 9));
  QTest::keyClick(edit, 't');
  EXPECT_EQ(shown(), QStringLiteral("15/06/2026"));
  edit->setDate(QDate(2026, 12, 9));
  QTest::keyClick(edit, 'T', Qt::ShiftModifier);
  EXPECT_EQ(shown(), QStringLiteral("15/06/2026"));
}

TEST_F(DateEditTest, DigitsAreTypedIntoTheMask) {
  edit->setDate(QDate());
  edit->setCursorPosition(0);
  QTest::keyClicks(edit, "01022027");
  EXPECT_EQ(shown(), QStringLiteral("01/02/2027"));
  EXPECT_EQ(edit->date(), QDate(2027, 2, 1));
  EXPECT_TRUE(edit->isModified());
}

TEST_F(DateEditTest, ReadOnlyRefusesDateKeys) {
  edit->setDate(QDate(2026, 12, 9));
  edit->setReadOnly(true);
  QTest::keyClick(edit, 't');
  keypad(Qt::Key_Plus);
  edit->setCursorPosition(0);
  QTest::keyClicks(edit, "11");
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
}

TEST_F(DateEditTest, EscapeRestoresTheTextAndSelectsItThenLeavesTheKeyToTheForm) {
  edit->setDate(QDate(2026, 12, 9));
  edit->setCursorPosition(0);
  QTest::keyClicks(edit, "2");
  ASSERT_EQ(shown(), QStringLiteral("29/12/2026"));
  press(Qt::Key_Escape);
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
  EXPECT_EQ(edit->selectedText(), edit->text());
  EXPECT_FALSE(edit->isModified());
  EXPECT_EQ(host->keys, std::vector<int>{Qt::Key_Escape});

  // Date keys are user changes too.
  QTest::keyClick(edit, 't');
  keypad(Qt::Key_Minus);
  ASSERT_EQ(shown(), QStringLiteral("14/06/2026"));
  press(Qt::Key_Escape);
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
}

TEST_F(DateEditTest, EnterIsLeftToTheForm) {
  edit->setDate(QDate(2026, 12, 9));
  press(Qt::Key_Return);
  EXPECT_EQ(host->keys, std::vector<int>{Qt::Key_Return});
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
}

TEST_F(DateEditTest, AltDownOpensTheCalendarOnTheDateOfTheText) {
  edit->setDate(QDate(2026, 12, 9));
  press(Qt::Key_Down, Qt::AltModifier);
  ASSERT_TRUE(edit->popupVisible());
  EXPECT_TRUE(edit->calendar()->isVisible());
  EXPECT_EQ(edit->calendar()->date(), QDate(2026, 12, 9));
  EXPECT_TRUE(edit->isReadOnly()) << "read-only (no caret) while the calendar is open";
  EXPECT_TRUE(edit->hasFocus());

  press(Qt::Key_Escape);
  EXPECT_FALSE(edit->popupVisible());
  EXPECT_FALSE(edit->calendar()->isVisible());
  EXPECT_FALSE(edit->isReadOnly());
  EXPECT_EQ(std::count(host->keys.begin(), host->keys.end(), Qt::Key_Escape), 0)
      << "Escape closing the calendar stays with the edit";

  edit->setButtonVisible(false);
  press(Qt::Key_Down, Qt::AltModifier);
  EXPECT_FALSE(edit->popupVisible()) << "no calendar without its button";
}

TEST_F(DateEditTest, CalendarOpensOnTodayForBlankOrUnreadableText) {
  edit->setDate(QDate());
  edit->popupDropDown();
  EXPECT_EQ(edit->calendar()->date(), kNow.date());
  edit->popupCloseUp(false);
  edit->setText(QStringLiteral("31/02/2026"));
  edit->popupDropDown();
  EXPECT_EQ(edit->calendar()->date(), kNow.date());
}

TEST_F(DateEditTest, KeysMoveTheCalendarWhileItIsOpen) {
  edit->setDate(QDate(2026, 12, 9));
  edit->popupDropDown();
  TPopupCalendar* calendar = edit->calendar();
  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QDate expected;
  };
  const Step steps[] = {
      {Qt::Key_Left, Qt::NoModifier, QDate(2026, 12, 8)},
      {Qt::Key_Right, Qt::NoModifier, QDate(2026, 12, 9)},
      {Qt::Key_Up, Qt::NoModifier, QDate(2026, 12, 2)},
      {Qt::Key_Up, Qt::NoModifier, QDate(2026, 12, 2)},  // a week up would leave the month
      {Qt::Key_Left, Qt::NoModifier, QDate(2026, 12, 1)},
      {Qt::Key_Left, Qt::NoModifier, QDate(2026, 11, 30)},  // across the month's start
      {Qt::Key_Down, Qt::NoModifier, QDate(2026, 11, 30)},
      {Qt::Key_PageDown, Qt::NoModifier, QDate(2026, 12, 30)},
      {Qt::Key_PageDown, Qt::NoModifier, QDate(2027, 1, 30)},
      {Qt::Key_PageDown, Qt::NoModifier, QDate(2027, 2, 28)},  // cut to February
      {Qt::Key_PageUp, Qt::ControlModifier, QDate(2026, 2, 28)},
      {Qt::Key_PageDown, Qt::ControlModifier, QDate(2027, 2, 28)},
      {Qt::Key_Plus, Qt::KeypadModifier, QDate(2027, 3, 1)},
      {Qt::Key_Minus, Qt::KeypadModifier, QDate(2027, 2, 28)},
      {Qt::Key_Plus, Qt::NoModifier, QDate(2027, 2, 28)},  // main keyboard: no step
      {Qt::Key_T, Qt::NoModifier, kNow.date()},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(QKeySequence(step.key | step.modifiers).toString().toStdString());
    press(step.key, step.modifiers);
    EXPECT_EQ(calendar->date(), step.expected);
    EXPECT_TRUE(edit->popupVisible());
  }
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026")) << "the text waits for the calendar to close";
  QTest::keyClicks(edit, "x1");
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
  EXPECT_EQ(beeps, 1);
}

TEST_F(DateEditTest, EnterTakesTheCalendarDateAndEscapeDoesNot) {
  edit->setDate(QDate(2026, 12, 9));
  edit->popupDropDown();
  press(Qt::Key_Right);
  press(Qt::Key_Escape);
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
  EXPECT_FALSE(edit->isModified());

  edit->popupDropDown();
  press(Qt::Key_Right);
  press(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_FALSE(edit->popupVisible());
  EXPECT_EQ(shown(), QStringLiteral("10/12/2026"));
  EXPECT_TRUE(edit->isModified());
  EXPECT_EQ(edit->selectedText(), edit->text());
  EXPECT_EQ(std::count(host->keys.begin(), host->keys.end(), Qt::Key_Enter), 0);
}

TEST_F(DateEditTest, KeysThatReachThePopupBelongToTheEdit) {
  edit->setDate(QDate(2026, 12, 9));
  edit->popupDropDown();
  QTest::keyClick(edit->calendar(), Qt::Key_Right);
  EXPECT_EQ(edit->calendar()->date(), QDate(2026, 12, 10));
  QTest::keyClick(edit->calendar(), Qt::Key_Return);
  EXPECT_EQ(shown(), QStringLiteral("10/12/2026"));
}

TEST_F(DateEditTest, ButtonOpensAndClosesTakingTheDate) {
  QSignalSpy clicks(edit, &TCustomComboEdit::buttonClicked);
  edit->setDate(QDate(2026, 12, 9));
  QTest::mouseClick(edit->button(), Qt::LeftButton);
  ASSERT_TRUE(edit->popupVisible());
  EXPECT_EQ(clicks.count(), 1);
  edit->calendar()->moveDays(3);

  // While the popup is open it sees every press; one on the button closes it taking the date.
  TPopupCalendar* calendar = edit->calendar();
  const QPoint buttonCentre = edit->button()->mapToGlobal(edit->button()->rect().center());
  QTest::mousePress(calendar, Qt::LeftButton, {}, calendar->mapFromGlobal(buttonCentre));
  EXPECT_FALSE(edit->popupVisible());
  EXPECT_EQ(clicks.count(), 2);
  EXPECT_EQ(shown(), QStringLiteral("12/12/2026"));
}

TEST_F(DateEditTest, ClickInTheEditClosesWithoutTakingTheDate) {
  edit->setDate(QDate(2026, 12, 9));
  edit->popupDropDown();
  edit->calendar()->moveDays(3);
  TPopupCalendar* calendar = edit->calendar();
  QTest::mousePress(calendar, Qt::LeftButton, {},
                    calendar->mapFromGlobal(edit->mapToGlobal(QPoint(5, 5))));
  EXPECT_FALSE(edit->popupVisible());
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
  EXPECT_FALSE(edit->isReadOnly());
}

TEST_F(DateEditTest, ClickOnADayTakesItAndOnAnEmptyCellDoesNothing) {
  edit->setDate(QDate(2026, 12, 9));
  edit->popupDropDown();
  CalendarGrid* grid = edit->calendar()->grid();
  // December 2026 begins on a Tuesday: column 0 of row 1 is empty.
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(0, 1).center());
  EXPECT_TRUE(edit->popupVisible());
  QTest::mouseClick(grid, Qt::LeftButton, Qt::ControlModifier, grid->cellRect(3, 3).center());
  EXPECT_TRUE(edit->popupVisible()) << "clicks with Ctrl do not pick";
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(3, 3).center());
  EXPECT_FALSE(edit->popupVisible());
  EXPECT_EQ(shown(), QStringLiteral("17/12/2026"));
}

TEST_F(DateEditTest, ReadOnlyEditDoesNotOpenButDirectInputOffDoes) {
  edit->setReadOnly(true);
  QTest::mouseClick(edit->button(), Qt::LeftButton);
  EXPECT_FALSE(edit->popupVisible());
  edit->setReadOnly(false);
  edit->setDirectInput(false);
  EXPECT_TRUE(edit->isReadOnly());
  edit->setDate(QDate(2026, 12, 9));
  QTest::mouseClick(edit->button(), Qt::LeftButton);
  ASSERT_TRUE(edit->popupVisible());
  press(Qt::Key_Left);
  press(Qt::Key_Return);
  EXPECT_EQ(shown(), QStringLiteral("08/12/2026"));
  EXPECT_TRUE(edit->isReadOnly()) << "typing stays off without DirectInput";
}

TEST_F(DateEditTest, CheckOnExitRejectsUnreadableText) {
  MessageBoxRecorder boxes;
  QLineEdit other(host.get());
  other.show();
  edit->setText(QStringLiteral("31/02/2026"));
  other.setFocus();
  EXPECT_TRUE(boxes.boxes().empty()) << "no check unless CheckOnExit";

  edit->setCheckOnExit(true);
  edit->setFocus();
  other.setFocus();
  QTest::qWait(50);  // the box follows the focus change
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, QStringLiteral("''31/02/2026'' is not a valid date."));
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_EQ(edit->selectedText(), edit->text());

  edit->setText(QString());
  other.setFocus();
  QTest::qWait(50);
  EXPECT_EQ(boxes.boxes().size(), 1u) << "a blank text passes";
}

}  // namespace
}  // namespace wf
