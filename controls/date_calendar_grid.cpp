#include "controls/date_calendar_grid.h"

#include <QMouseEvent>
#include <QPainter>

namespace wf {

CalendarGrid::CalendarGrid(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
    shortDayNames_ << QLocale().dayName(day, QLocale::ShortFormat);
  }
}

void CalendarGrid::setDate(QDate date) {
  if (!date.isValid() || date == date_) return;
  date_ = date;
  update();
}

void CalendarGrid::setToday(QDate today) {
  if (today == today_) return;
  today_ = today;
  update();
}

void CalendarGrid::setStartOfWeek(Qt::DayOfWeek day) {
  if (day == startOfWeek_) return;
  startOfWeek_ = day;
  update();
}

void CalendarGrid::setWeekends(const std::set<Qt::DayOfWeek>& days) {
  if (days == weekends_) return;
  weekends_ = days;
  update();
}

void CalendarGrid::setWeekendColor(const QColor& color) {
  if (color == weekendColor_) return;
  weekendColor_ = color;
  update();
}

void CalendarGrid::setShortDayNames(const QStringList& names) {
  if (names.size() != 7 || names == shortDayNames_) return;
  shortDayNames_ = names;
  update();
}

QRect CalendarGrid::cellRect(int column, int row) const {
  const int left = column * width() / kColumns;
  const int right = (column + 1) * width() / kColumns;
  const int top = row * height() / kRows;
  const int bottom = (row + 1) * height() / kRows;
  return QRect(left, top, right - left, bottom - top);
}

Qt::DayOfWeek CalendarGrid::weekdayOfColumn(int column) const {
  return static_cast<Qt::DayOfWeek>((startOfWeek_ - 1 + column) % 7 + 1);
}

int CalendarGrid::firstColumn() const {
  if (!date_.isValid()) return 0;
  const int firstWeekday = QDate(date_.year(), date_.month(), 1).dayOfWeek();
  return (firstWeekday - startOfWeek_ + 7) % 7;
}

int CalendarGrid::dayAt(int column, int row) const {
  if (!date_.isValid() || row < 1 || row >= kRows || column < 0 || column >= kColumns) return 0;
  const int day = (row - 1) * kColumns + column - firstColumn() + 1;
  return day >= 1 && day <= date_.daysInMonth() ? day : 0;
}

QPoint CalendarGrid::cellOfDay(int day) const {
  const int index = firstColumn() + day - 1;
  return QPoint(index % kColumns, 1 + index / kColumns);
}

void CalendarGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) paintCell(painter, column, row);
  }
  // The only grid line: under the weekday names.
  const QRect header = cellRect(0, 0);
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawLine(0, header.bottom(), width() - 1, header.bottom());
}

void CalendarGrid::paintCell(QPainter& painter, int column, int row) {
  const QRect cell = cellRect(column, row);
  const bool weekend = weekends_.count(weekdayOfColumn(column)) > 0;
  QColor textColor = weekend ? weekendColor_ : palette().color(QPalette::WindowText);
  QString text;
  if (row == 0) {
    text = shortDayNames_.value(weekdayOfColumn(column) - 1);
  } else {
    const int day = dayAt(column, row);
    if (day == 0) return;
    text = QString::number(day);
    if (day == date_.day()) {
      painter.fillRect(cell, palette().color(QPalette::Highlight));
      textColor = palette().color(QPalette::HighlightedText);
    }
    if (today_.isValid() && today_.year() == date_.year() && today_.month() == date_.month() &&
        today_.day() == day) {
      // Sunken: shadow along the top and left, highlight along the bottom and right.
      painter.setPen(palette().color(QPalette::Dark));
      painter.drawLine(cell.left(), cell.top(), cell.right(), cell.top());
      painter.drawLine(cell.left(), cell.top(), cell.left(), cell.bottom());
      painter.setPen(palette().color(QPalette::Light));
      painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
      painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
    }
  }
  painter.setPen(textColor);
  painter.drawText(cell, Qt::AlignCenter, text);
}

void CalendarGrid::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  if (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) return;
  const QPoint pos = event->position().toPoint();
  for (int row = 1; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      if (!cellRect(column, row).contains(pos)) continue;
      const int day = dayAt(column, row);
      if (day > 0) emit dayClicked(QDate(date_.year(), date_.month(), day));
      return;
    }
  }
}

}  // namespace wf
