// The popup calendar on its own: its strip, its steps through months and years, its day grid and
// where it opens.
#include "controls/custom_combo_edit.h"
#include "controls/custom_date_edit.h"
#include "controls/date_calendar_grid.h"
#include "controls/popup_calendar.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <cstdlib>

namespace wf {
namespace {

const QDate kToday(2026, 6, 15);

class PopupCalendarTest : public ::testing::Test {
 protected:
  PopupCalendarTest() {
    calendar.setTodayFunction([] { return kToday; });
    calendar.setNames(QStringList{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
                      QStringList{"January", "February", "March", "April", "May", "June", "July",
                                  "August", "September", "October", "November", "December"});
  }
  TPopupCalendar calendar;
};

TEST_F(PopupCalendarTest, SizeStripButtonsAndHints) {
  const double scale = calendar.logicalDpiX() / 96.0;
  EXPECT_EQ(calendar.size(), QSize(qRound(187 * scale), qRound(124 * scale)));
  EXPECT_TRUE(calendar.windowFlags().testFlag(Qt::Popup));
  EXPECT_TRUE(calendar.testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_EQ(calendar.focusPolicy(), Qt::NoFocus);

  const char* hints[] = {"Previous Year", "Previous Month", "Next Month", "Next Year"};
  for (int i = 0; i < 4; ++i) {
    QToolButton* button = calendar.button(static_cast<TPopupCalendar::Button>(i));
    SCOPED_TRACE(hints[i]);
    EXPECT_EQ(button->toolTip(), QString::fromLatin1(hints[i]));
    EXPECT_EQ(button->size(), QSize(14, 14));
    EXPECT_TRUE(button->autoRepeat());
    EXPECT_EQ(button->autoRepeatDelay(), 500);
    EXPECT_EQ(button->autoRepeatInterval(), 100);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(button->iconSize(), QSize(8, 6));
  }
  // Years at the outer edges, months inside them.
  EXPECT_EQ(calendar.button(TPopupCalendar::Button::PrevYear)->x(), 1);
  EXPECT_EQ(calendar.button(TPopupCalendar::Button::PrevMonth)->x(), 15);
  EXPECT_EQ(calendar.button(TPopupCalendar::Button::NextYear)->geometry().right(),
            calendar.width() - 2);
  EXPECT_EQ(calendar.button(TPopupCalendar::Button::NextMonth)->geometry().right(),
            calendar.width() - 16);
  EXPECT_EQ(calendar.grid()->geometry(), QRect(0, 18, calendar.width(), calendar.height() - 18));

  calendar.setHints({"", "Back|Goes back one month"});
  EXPECT_EQ(calendar.button(TPopupCalendar::Button::PrevYear)->toolTip(),
            QStringLiteral("Previous Year"));
  EXPECT_EQ(calendar.button(TPopupCalendar::Button::PrevMonth)->toolTip(), QStringLiteral("Back"));
}

TEST_F(PopupCalendarTest, LabelShowsMonthAndYearAndDoubleClickGoesToToday) {
  calendar.setDate(QDate(2026, 12, 9));
  EXPECT_EQ(calendar.monthLabel()->text(), QStringLiteral("December, 2026"));
  QTest::mouseDClick(calendar.monthLabel(), Qt::LeftButton);
  EXPECT_EQ(calendar.date(), kToday);
  EXPECT_EQ(calendar.monthLabel()->text(), QStringLiteral("June, 2026"));
}

TEST_F(PopupCalendarTest, MonthAndYearStepsCutTheDayToTheMonth) {
  struct Case {
    QDate from;
    TPopupCalendar::Button button;
    QDate expected;
  };
  const Case cases[] = {
      {QDate(2026, 1, 31), TPopupCalendar::Button::NextMonth, QDate(2026, 2, 28)},
      {QDate(2024, 3, 31), TPopupCalendar::Button::PrevMonth, QDate(2024, 2, 29)},
      {QDate(2026, 5, 31), TPopupCalendar::Button::NextMonth, QDate(2026, 6, 30)},
      {QDate(2026, 12, 31), TPopupCalendar::Button::NextMonth, QDate(2027, 1, 31)},
      {QDate(2026, 1, 15), TPopupCalendar::Button::PrevMonth, QDate(2025, 12, 15)},
      {QDate(2024, 2, 29), TPopupCalendar::Button::NextYear, QDate(2025, 2, 28)},
      {QDate(2024, 2, 29), TPopupCalendar::Button::PrevYear, QDate(2023, 2, 28)},
      {QDate(2026, 12, 9), TPopupCalendar::Button::NextYear, QDate(2027, 12, 9)},
      {QDate(9999, 12, 31), TPopupCalendar::Button::NextMonth, QDate(9999, 12, 31)},
      {QDate(1, 1, 1), TPopupCalendar::Button::PrevYear, QDate(1, 1, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from.toString(Qt::ISODate).toStdString());
    calendar.setDate(c.from);
    calendar.button(c.button)->click();
    EXPECT_EQ(calendar.date(), c.expected);
  }
  calendar.setDate(QDate(2024, 2, 29));
  calendar.stepYears(4);
  EXPECT_EQ(calendar.date(), QDate(2028, 2, 29));
}

TEST_F(PopupCalendarTest, HeldArrowRepeats) {
  calendar.setDate(QDate(2026, 12, 9));
  calendar.show();
  QToolButton* next = calendar.button(TPopupCalendar::Button::NextMonth);
  QTest::mousePress(next, Qt::LeftButton);
  // Repeats come after 500 ms and then every 100 ms; the release clicks once more.
  QTest::qWait(1000);
  QTest::mouseRelease(next, Qt::LeftButton);
  EXPECT_GE(calendar.date(), QDate(2027, 2, 9));
  EXPECT_LE(calendar.date(), QDate(2027, 8, 9));
}

TEST_F(PopupCalendarTest, GridPlacesDaysUnderTheirWeekdays) {
  CalendarGrid* grid = calendar.grid();
  calendar.setDate(QDate(2026, 12, 9));  // 1 December 2026 is a Tuesday
  EXPECT_EQ(grid->dayAt(0, 1), 0);
  EXPECT_EQ(grid->dayAt(1, 1), 1);
  EXPECT_EQ(grid->dayAt(6, 1), 6);
  EXPECT_EQ(grid->dayAt(0, 2), 7);
  EXPECT_EQ(grid->dayAt(3, 5), 31);
  EXPECT_EQ(grid->dayAt(4, 5), 0);
  EXPECT_EQ(grid->dayAt(0, 0), 0) << "the header row holds no days";
  EXPECT_EQ(grid->cellOfDay(9), QPoint(2, 2));

  calendar.setStartOfWeek(Qt::Sunday);
  EXPECT_EQ(grid->weekdayOfColumn(0), Qt::Sunday);
  EXPECT_EQ(grid->dayAt(2, 1), 1);
  // A month that needs the sixth row: August 2026 starts on a Saturday.
  calendar.setDate(QDate(2026, 8, 31));
  EXPECT_EQ(grid->dayAt(6, 1), 1);
  EXPECT_EQ(grid->dayAt(1, 6), 31);
}

TEST_F(PopupCalendarTest, GridPaintsSelectionWeekendsTodayAndTheHeaderLine) {
  CalendarGrid* grid = calendar.grid();
  calendar.setPopupColor(QColor(240, 240, 240));
  calendar.setDate(QDate(2026, 6, 10));  // today is 15 June, a Monday; 1 June too
  const QImage image = grid->grab().toImage();
  const QPalette palette = grid->palette();

  // Text is antialiased: a cell "has" a colour when some pixel comes close to it.
  auto near = [](const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 60 && std::abs(a.green() - b.green()) < 60 &&
           std::abs(a.blue() - b.blue()) < 60;
  };
  auto cellHas = [&](QPoint cell, const QColor& colour) {
    const QRect r = grid->cellRect(cell.x(), cell.y());
    for (int y = r.top(); y <= r.bottom(); ++y) {
      for (int x = r.left(); x <= r.right(); ++x) {
        if (near(image.pixelColor(x, y), colour)) return true;
      }
    }
    return false;
  };
  const QPoint selected = grid->cellOfDay(10);
  const QRect selectedRect = grid->cellRect(selected.x(), selected.y());
  EXPECT_EQ(image.pixelColor(selectedRect.topLeft()).rgb(),
            palette.color(QPalette::Highlight).rgb());
  EXPECT_TRUE(cellHas(selected, palette.color(QPalette::HighlightedText)));

  // Sundays (column 6 with Monday first) are red, in the names and the numbers.
  EXPECT_TRUE(cellHas(QPoint(6, 0), QColor(255, 0, 0)));
  EXPECT_TRUE(cellHas(grid->cellOfDay(7), QColor(255, 0, 0)));
  EXPECT_FALSE(cellHas(grid->cellOfDay(6), QColor(255, 0, 0)));
  // A selected Sunday takes the selection colours instead.
  calendar.setDate(QDate(2026, 6, 14));
  const QImage sundaySelected = grid->grab().toImage();
  const QRect sundayRect = grid->cellRect(grid->cellOfDay(14).x(), grid->cellOfDay(14).y());
  bool red = false;
  for (int y = sundayRect.top(); y <= sundayRect.bottom(); ++y) {
    for (int x = sundayRect.left(); x <= sundayRect.right(); ++x) {
      red = red || near(sundaySelected.pixelColor(x, y), QColor(255, 0, 0));
    }
  }
  EXPECT_FALSE(red);

  // Today's sunken frame: shadow top-left, highlight bottom-right.
  const QRect today = grid->cellRect(grid->cellOfDay(15).x(), grid->cellOfDay(15).y());
  EXPECT_EQ(image.pixelColor(today.topLeft()).rgb(), palette.color(QPalette::Dark).rgb());
  EXPECT_EQ(image.pixelColor(today.bottomRight()).rgb(), palette.color(QPalette::Light).rgb());
  // The one grid line runs under the header; there is none between the day rows.
  const int headerBottom = grid->cellRect(0, 0).bottom();
  EXPECT_EQ(image.pixelColor(grid->width() / 2, headerBottom).rgb(),
            palette.color(QPalette::Dark).rgb());
  const QRect plain = grid->cellRect(grid->cellOfDay(24).x(), grid->cellOfDay(24).y());
  EXPECT_EQ(image.pixelColor(plain.left(), plain.bottom()).rgb(), QColor(240, 240, 240).rgb());
}

TEST(PopupPosition, BelowOrAboveAlignedAndKeptOnScreen) {
  const QSize popup(187, 124);
  struct Case {
    QRect edit;
    PopupAlign align;
    QPoint expected;
    QRect screen = QRect(0, 0, 800, 600);
  };
  const Case cases[] = {
      {QRect(192, 56, 161, 22), PopupAlign::Right, QPoint(166, 78)},
      {QRect(192, 56, 161, 22), PopupAlign::Left, QPoint(192, 78)},
      {QRect(192, 500, 161, 22), PopupAlign::Right, QPoint(166, 376)},  // no room below
      {QRect(10, 56, 121, 22), PopupAlign::Right, QPoint(10, 78)},  // right edge would go left of 0
      {QRect(700, 56, 90, 22), PopupAlign::Left, QPoint(603, 78)},  // would pass the right edge
      {QRect(750, 56, 121, 22), PopupAlign::Right, QPoint(613, 78)},  // clamped into the screen
      {QRect(-50, 56, 100, 22), PopupAlign::Left, QPoint(0, 78)},
      // The top and bottom edges are kept too: an edit above the screen's top, no room above or
      // below, an edit below the screen's bottom, and a second screen that does not start at 0.
      {QRect(100, -40, 161, 22), PopupAlign::Left, QPoint(100, 0)},
      {QRect(100, 90, 161, 22), PopupAlign::Left, QPoint(100, 0), QRect(0, 0, 800, 200)},
      {QRect(100, 300, 161, 22), PopupAlign::Left, QPoint(100, 76), QRect(0, 0, 800, 200)},
      {QRect(790, 60, 161, 22), PopupAlign::Right, QPoint(800, 100), QRect(800, 100, 800, 600)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(popupPosition(c.edit, popup, c.screen, c.align), c.expected)
        << c.edit.x() << "," << c.edit.y();
  }
}

TEST(CalendarButton, GlyphHoldsNormalAndDisabledImages) {
  const QPixmap glyph = calendarButtonGlyph();
  ASSERT_EQ(glyph.size(), QSize(28, 12));
  const QImage image = glyph.toImage();
  EXPECT_NE(image.copy(0, 0, 14, 12), image.copy(14, 0, 14, 12));
  TCustomDateEdit edit;
  EXPECT_EQ(edit.button()->iconSize(), QSize(14, 12));
  EXPECT_EQ(edit.button()
                ->icon()
                .pixmap(QSize(14, 12), QIcon::Disabled)
                .toImage()
                .convertToFormat(image.format()),
            image.copy(14, 0, 14, 12));
}

}  // namespace
}  // namespace wf
