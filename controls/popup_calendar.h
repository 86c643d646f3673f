// The drop-down month calendar of the date edit: a borderless pop-up window with a strip of four
// auto-repeating arrow buttons around a "Month, Year" label, over a 7 by 7 day grid. It is shown
// without activation and never takes the focus; the date edit forwards its keys to it.
#pragma once

#include <QColor>
#include <QDate>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <set>

class QLabel;
class QToolButton;

namespace wf {

class CalendarGrid;

class TPopupCalendar : public QWidget {
  Q_OBJECT
 public:
  // Size at 96 dots per inch; scaled for other resolutions.
  static constexpr int kWidth = 187;
  static constexpr int kHeight = 124;
  static constexpr int kStripHeight = 18;
  static constexpr int kArrowButtonSize = 14;
  static constexpr int kRepeatDelayMs = 500;
  static constexpr int kRepeatIntervalMs = 100;

  // The strip buttons, in their order from left to right.
  enum class Button { PrevYear, PrevMonth, NextMonth, NextYear };

  explicit TPopupCalendar(QWidget* parent = nullptr);

  QDate date() const;
  // Shows the month of the date with that day selected; an invalid date selects today.
  void setDate(QDate date);

  // Where "today" comes from (the current date unless replaced, e.g. by tests).
  void setTodayFunction(std::function<QDate()> today);
  QDate today() const;

  // Navigation as the keys and buttons use it. Month and year steps keep the day of the month,
  // cut to the length of the target month; a step that would leave the years 1 to 9999 does
  // nothing.
  void moveDays(int days);    // across month ends
  void moveWeeks(int weeks);  // only within the shown month
  void stepMonths(int months);
  void stepYears(int years);
  void goToday();

  void setPopupColor(const QColor& color);
  QColor popupColor() const { return popupColor_; }
  void setStartOfWeek(Qt::DayOfWeek day);
  void setWeekends(const std::set<Qt::DayOfWeek>& days);
  void setWeekendColor(const QColor& color);
  // Short day names Monday first, long month names January first.
  void setNames(const QStringList& shortDayNames, const QStringList& longMonthNames);
  // Up to four hint overrides in Button order; an empty entry keeps the built-in hint. A hint
  // may carry a long part after "|", which is not shown.
  void setHints(const QStringList& hints);

  // The four strip buttons, the month label and the grid (for the owner and for tests).
  QToolButton* button(Button which) const { return buttons_[static_cast<std::size_t>(which)]; }
  QLabel* monthLabel() const { return label_; }
  CalendarGrid* grid() const { return grid_; }

  // The label's text, "MMMM, YYYY" with the long month name: "December, 2026".
  static QString monthTitle(QDate date, const QStringList& longMonthNames);

 signals:
  // A day was clicked in the grid.
  void dayPicked(QDate date);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void createStrip();
  void layoutChildren();
  void showDate(QDate date);
  void applyHints();

  std::array<QToolButton*, 4> buttons_{};
  QLabel* label_ = nullptr;
  CalendarGrid* grid_ = nullptr;
  QColor popupColor_;
  QStringList longMonthNames_;
  QStringList hintOverrides_;
  std::function<QDate()> today_;
};

}  // namespace wf
