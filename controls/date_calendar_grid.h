// The day grid of the popup calendar: a 7 by 7 grid whose first row names the weekdays and whose
// other rows hold the days of one month. It paints one month around a selected date and reports
// clicks on days; it never takes the focus.
#pragma once

#include <QColor>
#include <QDate>
#include <QStringList>
#include <QWidget>

#include <set>

namespace wf {

class CalendarGrid : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kColumns = 7;
  static constexpr int kRows = 7;

  explicit CalendarGrid(QWidget* parent = nullptr);

  // The selected day; its month is the month shown. Invalid dates are ignored.
  QDate date() const { return date_; }
  void setDate(QDate date);

  // Today's cell gets a sunken frame.
  QDate today() const { return today_; }
  void setToday(QDate today);

  // The weekday of the first column.
  Qt::DayOfWeek startOfWeek() const { return startOfWeek_; }
  void setStartOfWeek(Qt::DayOfWeek day);

  // Weekend columns draw their names and numbers in the weekend colour.
  void setWeekends(const std::set<Qt::DayOfWeek>& days);
  const std::set<Qt::DayOfWeek>& weekends() const { return weekends_; }
  void setWeekendColor(const QColor& color);
  QColor weekendColor() const { return weekendColor_; }

  // Short day names, Monday first (seven entries).
  void setShortDayNames(const QStringList& names);

  // Cell geometry and content, for painting, hit testing and tests.
  QRect cellRect(int column, int row) const;
  // The day in a cell of rows 1 to 6, or 0 for an empty cell.
  int dayAt(int column, int row) const;
  // The cell holding a day of the shown month.
  QPoint cellOfDay(int day) const;
  // The weekday shown in a column.
  Qt::DayOfWeek weekdayOfColumn(int column) const;

 signals:
  // A left click without Shift, Ctrl or Alt on a day.
  void dayClicked(QDate date);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int firstColumn() const;
  void paintCell(class QPainter& painter, int column, int row);

  QDate date_;
  QDate today_;
  Qt::DayOfWeek startOfWeek_ = Qt::Monday;
  std::set<Qt::DayOfWeek> weekends_{Qt::Sunday};
  QColor weekendColor_{255, 0, 0};
  QStringList shortDayNames_;
};

}  // namespace wf
