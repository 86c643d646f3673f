// A date edit with a drop-down month calendar: shows a date in the locale's short date order
// through an edit mask, reads typed dates back, reacts to the date keys (keypad plus and minus,
// T, Page keys and arrows while the calendar is open) and picks dates from the calendar.
// A null QDate is the empty date.
#pragma once

#include "controls/custom_combo_edit.h"
#include "controls/date_locale.h"
#include "controls/date_text.h"

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QTimer>

#include <functional>
#include <optional>
#include <set>

namespace wf {

class TPopupCalendar;

class TCustomDateEdit : public TCustomComboEdit {
  Q_OBJECT
 public:
  explicit TCustomDateEdit(QWidget* parent = nullptr);

  // The date read from the text (see readDateText); the empty date is a null QDate.
  QDate date() const;
  // Shows a date. An invalid or empty date shows today when DefaultToday is set, else an empty
  // text. The text shown this way is what Escape returns to.
  void setDate(QDate date);

  bool defaultToday() const { return defaultToday_; }
  void setDefaultToday(bool on) { defaultToday_ = on; }

  YearDigits yearDigits() const { return yearDigits_; }
  void setYearDigits(YearDigits digits);

  // The mask's blank character; characters below 32 become a space.
  QChar blanksChar() const { return blanksChar_; }
  void setBlanksChar(QChar blank);

  // The validity check when the focus leaves (off by default).
  bool checkOnExit() const { return checkOnExit_; }
  void setCheckOnExit(bool on) { checkOnExit_ = on; }

  Qt::DayOfWeek startOfWeek() const { return startOfWeek_; }
  void setStartOfWeek(Qt::DayOfWeek day);
  const std::set<Qt::DayOfWeek>& weekends() const { return weekends_; }
  void setWeekends(const std::set<Qt::DayOfWeek>& days);
  QColor weekendColor() const { return weekendColor_; }
  void setWeekendColor(const QColor& color);
  QColor popupColor() const { return popupColor_; }
  void setPopupColor(const QColor& color);
  // Up to four hints for the calendar's buttons (previous year, previous month, next month,
  // next year); empty entries keep the built-in ones.
  QStringList calendarHints() const { return calendarHints_; }
  void setCalendarHints(const QStringList& hints);

  // The locale the format, mask and names come from; by default the program's format settings,
  // read again when the system announces changed regional settings.
  const DateLocale& dateLocale() const { return locale_; }
  void setDateLocale(const DateLocale& locale);

  // Where the current date and time come from (the clock unless replaced, e.g. by tests).
  void setNowFunction(std::function<QDateTime()> now);
  QDateTime now() const { return now_(); }
  QDate today() const { return now_().date(); }

  // The edit's format ("DD/MM/YYYY", ...) and mask ("!99/99/9999;1; ") as now chosen.
  const QString& dateFormat() const { return format_; }
  const QString& editMask() const { return mask_; }
  // The rules the text is read by.
  DateTextRules textRules() const;
  // The text as read, blanks included.
  QString dateText() const;

  TPopupCalendar* calendar() const { return calendar_; }

  // The check CheckOnExit runs: throws "''%s'' is not a valid date" for a text that is neither
  // blank nor readable.
  void checkValidDate() const;

 protected:
  // Escape: put back the text last shown by the program.
  virtual void reset();
  // The focus left the control (not for the calendar opening); failures keep the focus in the
  // control and are shown in the default error box once the mouse buttons are up.
  virtual void leaving();
  // The failure of the last leaving was reported by other means (a refused post): no box for it.
  void refusalReported();
  // The calendar closed on a picked date.
  virtual void applyPickedDate(QDate date);

  // Shows a date as the control does, without touching the text Escape returns to.
  void showDate(QDate date);
  // Rebuilds the format and mask from the locale, YearDigits and BlanksChar.
  void updateFormat();
  // Applies the mask to the edit, keeping the date shown.
  void applyEditMask();

  void preparePopup() override;
  void acceptPopupValue() override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void keyWithCalendar(QKeyEvent* event);
  void keyWithoutCalendar(QKeyEvent* event);
  // Sets the date as a user change: asks editCanModify, marks the text modified, selects it.
  void applyDate(QDate date);
  bool isDateCharacter(QChar c) const;
  void showPendingRefusal();
  bool changesText(QKeyEvent* event) const;

  TPopupCalendar* calendar_ = nullptr;
  DateLocale locale_;
  bool ownLocale_ = false;  // set explicitly, not read from the format settings
  std::function<QDateTime()> now_;
  QString format_;
  QString mask_;
  QDate shownDate_;  // what Escape returns to
  bool defaultToday_ = false;
  YearDigits yearDigits_ = YearDigits::Default;
  QChar blanksChar_ = u' ';
  bool checkOnExit_ = false;
  Qt::DayOfWeek startOfWeek_ = Qt::Monday;
  std::set<Qt::DayOfWeek> weekends_{Qt::Sunday};
  QColor weekendColor_{255, 0, 0};
  QColor popupColor_;
  QStringList calendarHints_;
  std::optional<QString> pendingRefusal_;  // the failure of leaving, not shown yet
  QString refusedText_;                    // the text it was about
  QTimer refusalTimer_;
};

// Rejected characters sound the system beep (QApplication::beep). Tests may listen instead;
// nullptr restores the system beep.
void setDateEditBeep(std::function<void()> beep);

// The button's picture: a 28 by 12 bitmap holding two 14 by 12 calendar glyphs, the normal one
// and the disabled one.
QPixmap calendarButtonGlyph();

}  // namespace wf
