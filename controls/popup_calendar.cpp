#include "controls/popup_calendar.h"

#include "controls/date_calendar_grid.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace wf {
namespace {

// Built-in hints; the text after "|" would be the long hint, which these do not have.
const char* const kDefaultHints[4] = {"Previous Year|", "Previous Month|", "Next Month|",
                                      "Next Year|"};

// The short part of a hint: what stands before the first "|".
QString shortHint(const QString& hint) { return hint.section(u'|', 0, 0); }

// An 8 by 6 arrow picture: one triangle for months, two for years, pointing left or right.
QPixmap arrowPicture(bool pointsLeft, bool doubled) {
  QPixmap picture(8, 6);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setPen(Qt::black);
  const int firstTip = doubled ? 1 : 2;
  const int tips = doubled ? 2 : 1;
  for (int t = 0; t < tips; ++t) {
    const int tipX = firstTip + t * 3;
    for (int step = 0; step < 3; ++step) {
      // A triangle three columns wide: one, three... rows, growing away from the tip.
      const int x = pointsLeft ? tipX + step : 7 - (tipX + step);
      painter.drawLine(x, 2 - step, x, 3 + step);
    }
  }
  return picture;
}

QFont popupFont() {
  const QFont messageFont = QApplication::font("QMessageBox");
  if (messageFont != QApplication::font()) return messageFont;
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSize(8);
  return font;
}

QStringList defaultMonthNames() {
  QStringList names;
  for (int month = 1; month <= 12; ++month)
    names << QLocale().monthName(month, QLocale::LongFormat);
  return names;
}

bool inDateRange(QDate date) { return date.isValid() && date.year() >= 1 && date.year() <= 9999; }

}  // namespace

TPopupCalendar::TPopupCalendar(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint),
      popupColor_(240, 240, 240),
      longMonthNames_(defaultMonthNames()),
      today_([] { return QDate::currentDate(); }) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  // A click outside that closes the calendar is not delivered again to what lies beneath.
  setAttribute(Qt::WA_NoMouseReplay);
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(true);
  setFont(popupFont());
  setPopupColor(popupColor_);

  createStrip();
  grid_ = new CalendarGrid(this);
  connect(grid_, &CalendarGrid::dayClicked, this, &TPopupCalendar::dayPicked);

  const double scale = logicalDpiX() / 96.0;
  resize(qRound(kWidth * scale), qRound(kHeight * scale));
  layoutChildren();
  showDate(today());
}

void TPopupCalendar::createStrip() {
  const bool left[4] = {true, true, false, false};
  const bool doubled[4] = {true, false, false, true};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QToolButton(this);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(false);
    button->setIcon(QIcon(arrowPicture(left[i], doubled[i])));
    button->setIconSize(QSize(8, 6));
    button->setFixedSize(kArrowButtonSize, kArrowButtonSize);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelayMs);
    button->setAutoRepeatInterval(kRepeatIntervalMs);
    buttons_[i] = button;
  }
  connect(button(Button::PrevYear), &QToolButton::clicked, this, [this] { stepYears(-1); });
  connect(button(Button::PrevMonth), &QToolButton::clicked, this, [this] { stepMonths(-1); });
  connect(button(Button::NextMonth), &QToolButton::clicked, this, [this] { stepMonths(1); });
  connect(button(Button::NextYear), &QToolButton::clicked, this, [this] { stepYears(1); });
  applyHints();

  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  label_->installEventFilter(this);
}

void TPopupCalendar::resizeEvent(QResizeEvent*) { layoutChildren(); }

void TPopupCalendar::layoutChildren() {
  const int top = (kStripHeight - kArrowButtonSize) / 2;
  const int w = width();
  button(Button::PrevYear)->move(1, top);
  button(Button::PrevMonth)->move(1 + kArrowButtonSize, top);
  button(Button::NextMonth)->move(w - 1 - 2 * kArrowButtonSize, top);
  button(Button::NextYear)->move(w - 1 - kArrowButtonSize, top);
  const int labelLeft = 1 + 2 * kArrowButtonSize;
  label_->setGeometry(labelLeft, 0, w - 2 * labelLeft, kStripHeight);
  grid_->setGeometry(0, kStripHeight, w, height() - kStripHeight);
}

QDate TPopupCalendar::date() const { return grid_->date(); }

void TPopupCalendar::setDate(QDate date) { showDate(inDateRange(date) ? date : today()); }

void TPopupCalendar::showDate(QDate date) {
  if (!inDateRange(date)) return;
  grid_->setToday(today());
  grid_->setDate(date);
  label_->setText(monthTitle(date, longMonthNames_));
}

void TPopupCalendar::setTodayFunction(std::function<QDate()> today) {
  today_ = std::move(today);
  grid_->setToday(this->today());
}

QDate TPopupCalendar::today() const { return today_(); }

void TPopupCalendar::moveDays(int days) { showDate(date().addDays(days)); }

void TPopupCalendar::moveWeeks(int weeks) {
  const int day = date().day() + 7 * weeks;
  if (day < 1 || day > date().daysInMonth()) return;
  showDate(QDate(date().year(), date().month(), day));
}

void TPopupCalendar::stepMonths(int months) { showDate(date().addMonths(months)); }

void TPopupCalendar::stepYears(int years) { showDate(date().addYears(years)); }

void TPopupCalendar::goToday() { showDate(today()); }

void TPopupCalendar::setPopupColor(const QColor& color) {
  popupColor_ = color;
  QPalette p = palette();
  p.setColor(QPalette::Window, color);
  p.setColor(QPalette::Base, color);
  setPalette(p);
}

void TPopupCalendar::setStartOfWeek(Qt::DayOfWeek day) { grid_->setStartOfWeek(day); }
void TPopupCalendar::setWeekends(const std::set<Qt::DayOfWeek>& days) { grid_->setWeekends(days); }
void TPopupCalendar::setWeekendColor(const QColor& color) { grid_->setWeekendColor(color); }

void TPopupCalendar::setNames(const QStringList& shortDayNames, const QStringList& longMonthNames) {
  grid_->setShortDayNames(shortDayNames);
  if (longMonthNames.size() == 12) longMonthNames_ = longMonthNames;
  label_->setText(monthTitle(date(), longMonthNames_));
}

void TPopupCalendar::setHints(const QStringList& hints) {
  hintOverrides_ = hints.mid(0, 4);
  applyHints();
}

void TPopupCalendar::applyHints() {
  for (int i = 0; i < 4; ++i) {
    const QString custom = hintOverrides_.value(i);
    buttons_[i]->setToolTip(
        shortHint(custom.isEmpty() ? QString::fromLatin1(kDefaultHints[i]) : custom));
  }
}

QString TPopupCalendar::monthTitle(QDate date, const QStringList& longMonthNames) {
  if (!date.isValid()) return {};
  return longMonthNames.value(date.month() - 1) + QStringLiteral(", ") +
         QString::number(date.year()).rightJustified(4, u'0');
}

bool TPopupCalendar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == label_ && event->type() == QEvent::MouseButtonDblClick) {
    goToday();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace wf
