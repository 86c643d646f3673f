#include "controls/custom_date_edit.h"

#include "controls/popup_calendar.h"
#include "framework/message_box.h"
#include "framework/text_codec.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

#include <stdexcept>

namespace wf {
namespace {

constexpr Qt::KeyboardModifiers kShiftCtrlAlt =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

std::function<void()>& beepFunction() {
  static std::function<void()> beep;
  return beep;
}

void soundBeep() {
  if (beepFunction()) {
    beepFunction()();
  } else {
    QApplication::beep();
  }
}

bool isKeypadPlusMinus(const QKeyEvent* event) {
  return (event->modifiers() & Qt::KeypadModifier) && !(event->modifiers() & kShiftCtrlAlt) &&
         (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus);
}

bool isPlusMinusCharacter(const QKeyEvent* event) {
  return event->text() == QStringLiteral("+") || event->text() == QStringLiteral("-");
}

bool isTodayKey(const QKeyEvent* event) {
  return (event->text() == QStringLiteral("t") || event->text() == QStringLiteral("T")) &&
         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool isEnter(const QKeyEvent* event) {
  return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool isPrintableCharacter(const QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event->text();
  return text.size() == 1 && text[0].isPrint();
}

// A calendar sheet: dark outline, coloured header with two rings, a grid of day dots.
void drawCalendarGlyph(QPainter& painter, int left, const QColor& outline, const QColor& header,
                       const QColor& dots) {
  painter.fillRect(left + 1, 1, 12, 11, Qt::white);
  painter.fillRect(left + 1, 1, 12, 3, header);
  painter.setPen(outline);
  painter.drawRect(left + 1, 1, 11, 10);
  painter.drawPoint(left + 4, 0);
  painter.drawPoint(left + 9, 0);
  painter.setPen(dots);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column)
      painter.drawPoint(left + 3 + 2 * column, 5 + 2 * row);
  }
}

}  // namespace

void setDateEditBeep(std::function<void()> beep) { beepFunction() = std::move(beep); }

QPixmap calendarButtonGlyph() {
  QPixmap glyph(28, 12);
  glyph.fill(Qt::transparent);
  QPainter painter(&glyph);
  drawCalendarGlyph(painter, 0, QColor(0, 0, 0), QColor(0, 0, 128), QColor(0, 0, 0));
  drawCalendarGlyph(painter, 14, QColor(128, 128, 128), QColor(192, 192, 192),
                    QColor(128, 128, 128));
  return glyph;
}

TCustomDateEdit::TCustomDateEdit(QWidget* parent)
    : TCustomComboEdit(parent),
      locale_(currentDateLocale()),
      now_([] { return QDateTime::currentDateTime(); }),
      popupColor_(QPalette().color(QPalette::Button)) {
  setGlyph(calendarButtonGlyph(), 2);
  calendar_ = new TPopupCalendar(this);
  calendar_->setTodayFunction([this] { return today(); });
  calendar_->setPopupColor(popupColor_);
  calendar_->setNames(locale_.shortDayNames, locale_.longMonthNames);
  connect(calendar_, &TPopupCalendar::dayPicked, this, [this](QDate date) {
    calendar_->setDate(date);
    popupCloseUp(true);
  });
  setPopup(calendar_);
  updateFormat();
  refusalTimer_.setSingleShot(true);
  refusalTimer_.setInterval(10);
  connect(&refusalTimer_, &QTimer::timeout, this, &TCustomDateEdit::showPendingRefusal);
}

QDate TCustomDateEdit::date() const {
  return readDateText(dateText(), textRules(), today(), defaultToday_);
}

void TCustomDateEdit::setDate(QDate date) {
  shownDate_ = date;
  showDate(date);
  setModified(false);
}

void TCustomDateEdit::showDate(QDate date) {
  if (!date.isValid() || date.year() < 1 || date.year() > 9999) {
    date = defaultToday_ ? today() : QDate();
  }
  setText(formatDateText(date, format_, locale_.separator));
}

void TCustomDateEdit::reset() {
  showDate(shownDate_);
  setModified(false);
}

void TCustomDateEdit::setYearDigits(YearDigits digits) {
  if (digits == yearDigits_) return;
  yearDigits_ = digits;
  updateFormat();
}

void TCustomDateEdit::setBlanksChar(QChar blank) {
  blank = normalizedBlank(blank);
  if (blank == blanksChar_) return;
  blanksChar_ = blank;
  updateFormat();
}

void TCustomDateEdit::setStartOfWeek(Qt::DayOfWeek day) {
  startOfWeek_ = day;
  calendar_->setStartOfWeek(day);
}

void TCustomDateEdit::setWeekends(const std::set<Qt::DayOfWeek>& days) {
  weekends_ = days;
  calendar_->setWeekends(days);
}

void TCustomDateEdit::setWeekendColor(const QColor& color) {
  weekendColor_ = color;
  calendar_->setWeekendColor(color);
}

void TCustomDateEdit::setPopupColor(const QColor& color) {
  popupColor_ = color;
  calendar_->setPopupColor(color);
}

void TCustomDateEdit::setCalendarHints(const QStringList& hints) {
  calendarHints_ = hints.mid(0, 4);
  calendar_->setHints(calendarHints_);
}

void TCustomDateEdit::setDateLocale(const DateLocale& locale) {
  ownLocale_ = true;
  locale_ = locale;
  calendar_->setNames(locale_.shortDayNames, locale_.longMonthNames);
  updateFormat();
}

void TCustomDateEdit::setNowFunction(std::function<QDateTime()> now) { now_ = std::move(now); }

DateTextRules TCustomDateEdit::textRules() const {
  DateTextRules rules;
  rules.format = format_;
  rules.separator = locale_.separator;
  rules.order = dateOrderOf(locale_.shortDateFormat);
  rules.blank = blanksChar_;
  rules.longMonthNames = locale_.longMonthNames;
  return rules;
}

QString TCustomDateEdit::dateText() const { return inputMask().isEmpty() ? text() : displayText(); }

void TCustomDateEdit::updateFormat() {
  const bool modified = isModified();
  std::optional<QDate> shown;
  if (!format_.isEmpty()) shown = parseDateText(dateText(), textRules(), today());
  const DateOrder order = dateOrderOf(locale_.shortDateFormat);
  const bool fourDigits =
      usesFourDigitYears(yearDigits_, hasFourDigitYears(locale_.shortDateFormat));
  format_ = dateEditFormat(order, fourDigits);
  mask_ = dateEditMask(order, fourDigits, blanksChar_);
  applyEditMask();
  setText(shown ? formatDateText(*shown, format_, locale_.separator) : QString());
  setModified(modified);
}

void TCustomDateEdit::applyEditMask() {
  const QString mask = qtInputMask(mask_, locale_.separator);
  if (inputMask() != mask) setInputMask(mask);
}

void TCustomDateEdit::checkValidDate() const {
  const QString text = dateText();
  if (isBlankDateText(text, locale_.separator, blanksChar_)) return;
  if (parseDateText(text, textRules(), today())) return;
  const QString message = QStringLiteral("''%1'' is not a valid date").arg(text);
  throw std::runtime_error(message.toStdString());
}

void TCustomDateEdit::leaving() {
  if (checkOnExit_) checkValidDate();
}

void TCustomDateEdit::preparePopup() {
  const QString text = dateText();
  QDate date;
  if (!isBlankDateText(text, locale_.separator, blanksChar_)) {
    if (auto parsed = parseDateText(text, textRules(), today())) date = *parsed;
  }
  calendar_->setDate(date.isValid() ? date : today());
}

void TCustomDateEdit::acceptPopupValue() { applyPickedDate(calendar_->date()); }

void TCustomDateEdit::applyPickedDate(QDate date) { applyDate(date); }

void TCustomDateEdit::applyDate(QDate date) {
  if (readOnlyProperty() || !editCanModify() || dataReadOnly()) return;
  showDate(date);
  setModified(true);
  selectAll();
}

bool TCustomDateEdit::isDateCharacter(QChar c) const {
  return (c >= u'0' && c <= u'9') || c == locale_.separator;
}

bool TCustomDateEdit::changesText(QKeyEvent* event) const {
  if (isPrintableCharacter(event)) return true;
  return event->key() == Qt::Key_Backspace || event->matches(QKeySequence::Delete) ||
         event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
         (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier);
}

void TCustomDateEdit::keyPressEvent(QKeyEvent* event) {
  if (popupVisible()) {
    keyWithCalendar(event);
  } else {
    keyWithoutCalendar(event);
  }
}

void TCustomDateEdit::keyWithCalendar(QKeyEvent* event) {
  const bool plain = !(event->modifiers() & kShiftCtrlAlt);
  const bool ctrlOnly = (event->modifiers() & kShiftCtrlAlt) == Qt::ControlModifier;
  event->accept();
  if (isKeypadPlusMinus(event)) {
    calendar_->moveDays(event->key() == Qt::Key_Plus ? 1 : -1);
  } else if (isPlusMinusCharacter(event)) {
    // The main keyboard's + and - are the calendar's; it has no use for them.
  } else if (isTodayKey(event)) {
    calendar_->goToday();
  } else if ((event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) &&
             (plain || ctrlOnly)) {
    const int step = event->key() == Qt::Key_PageUp ? -1 : 1;
    if (ctrlOnly) {
      calendar_->stepYears(step);
    } else {
      calendar_->stepMonths(step);
    }
  } else if (plain && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
    calendar_->moveDays(event->key() == Qt::Key_Left ? -1 : 1);
  } else if (plain && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
    calendar_->moveWeeks(event->key() == Qt::Key_Up ? -1 : 1);
  } else if (isPrintableCharacter(event) && !isDateCharacter(event->text()[0])) {
    soundBeep();
  } else {
    TCustomComboEdit::keyPressEvent(event);
  }
}

void TCustomDateEdit::keyWithoutCalendar(QKeyEvent* event) {
  event->accept();
  if (isKeypadPlusMinus(event)) {
    const QDate shown = date();
    const QDate base = shown.isValid() ? shown : today();
    applyDate(base.addDays(event->key() == Qt::Key_Plus ? 1 : -1));
  } else if (isPlusMinusCharacter(event)) {
    // Swallowed: + and - are date keys only on the keypad.
  } else if (isTodayKey(event)) {
    applyDate(today());
  } else if (isEnter(event)) {
    // The form may use it (a default button); the edit itself has no use for it.
    event->ignore();
  } else if (event->key() == Qt::Key_Escape) {
    reset();
    selectAll();
    event->ignore();
  } else if (isPrintableCharacter(event) && !isDateCharacter(event->text()[0])) {
    soundBeep();
  } else if (changesText(event) && !readOnlyProperty() && directInput() && !editCanModify()) {
    // The bound data refused the change. When it allowed it, the edit is writable by now.
  } else {
    TCustomComboEdit::keyPressEvent(event);
  }
}

void TCustomDateEdit::focusOutEvent(QFocusEvent* event) {
  TCustomComboEdit::focusOutEvent(event);
  // Opening the calendar or switching to another window (an error box included) does not leave
  // the control: it is still the focus of its own window.
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) {
    return;
  }
  try {
    leaving();
  } catch (const std::exception& failure) {
    // The focus comes back at once, so that whatever took it (a click on Save, say) finds the
    // text still refused and cannot store it. The box waits until that click is over: a box
    // opened in the middle of it would swallow its release, so Cancel could never be clicked,
    // and the pressed control would take the focus again behind the box.
    setFocus(Qt::OtherFocusReason);
    selectAll();
    pendingRefusal_ = exceptionText(failure);
    refusedText_ = dateText();
    if (!refusalTimer_.isActive()) refusalTimer_.start();
  }
}

void TCustomDateEdit::refusalReported() {
  pendingRefusal_.reset();
  refusalTimer_.stop();
}

void TCustomDateEdit::showPendingRefusal() {
  if (!pendingRefusal_) return;
  if (QGuiApplication::mouseButtons() != Qt::NoButton) {
    refusalTimer_.start();
    return;
  }
  const QString message = *pendingRefusal_;
  pendingRefusal_.reset();
  // Settled meanwhile: the dialog was closed, or the text was put right or reset by a Cancel.
  if (!isVisible() || dateText() != refusedText_) return;
  showDefaultError(message);
  setFocus(Qt::OtherFocusReason);
  selectAll();
}

void TCustomDateEdit::changeEvent(QEvent* event) {
  TCustomComboEdit::changeEvent(event);
  if (event->type() == QEvent::LocaleChange && !ownLocale_) {
    locale_ = currentDateLocale();
    calendar_->setNames(locale_.shortDayNames, locale_.longMonthNames);
    updateFormat();
  }
}

}  // namespace wf
