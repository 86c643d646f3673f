#include "framework/db_memo.h"

#include "framework/db_edit.h"
#include "framework/message_box.h"
#include "framework/text_codec.h"
#include "framework/text_entry.h"
#include "store/field.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <exception>

namespace wf {

QString memoTextForDisplay(const QString& stored) {
  QString shown = stored;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QString memoTextForStorage(const QString& shown) {
  QString stored = memoTextForDisplay(shown);
  stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return stored;
}

DbMemo::DbMemo(QWidget* parent) : QPlainTextEdit(parent) {
  // Tab moves on to the next control, as in every other edit of a dialog; a memo that kept Tab
  // for itself would trap a person using the keyboard.
  setTabChangesFocus(true);
  link_.onDataChange = [this] { loadText(); };
  link_.onUpdateData = [this] { writeText(); };
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (!loading_) link_.setModified(true);
  });
}

void DbMemo::setDataSource(TDataSource* source) { link_.setDataSource(source); }

void DbMemo::setDataField(const std::string& fieldName) { link_.setFieldName(fieldName); }

void DbMemo::loadText() {
  loading_ = true;
  TField* f = link_.field();
  setPlainText(f == nullptr ? QString() : memoTextForDisplay(fromCodePage(f->AsString())));
  loading_ = false;
}

void DbMemo::writeText() {
  if (TField* f = link_.field()) f->setAsString(toCodePage(memoTextForStorage(toPlainText())));
}

bool DbMemo::startEdit() {
  try {
    return link_.edit();
  } catch (const std::exception& failure) {
    showDefaultError(exceptionText(failure));
    return false;
  }
}

void DbMemo::keyPressEvent(QKeyEvent* event) {
  const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!isReadOnly() && !acceptTypedText(event->text())) {
    event->accept();
    return;
  }
  if ((isModifyingKey(*event) || newLine) && !startEdit()) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void DbMemo::insertFromMimeData(const QMimeData* source) {
  // Paste, drop and the middle button all arrive here.
  if (source->hasText() && !acceptPastedText(source->text())) return;
  if (startEdit()) QPlainTextEdit::insertFromMimeData(source);
}

void DbMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (!isReadOnly() && !acceptTypedText(event->commitString())) {
    QInputMethodEvent withoutCommit(QString(), {});
    QPlainTextEdit::inputMethodEvent(&withoutCommit);
    event->accept();
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
}

void DbMemo::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
    return;
  try {
    link_.updateRecord();
  } catch (const std::exception& failure) {
    showDefaultError(exceptionText(failure));
    setFocus();
  }
}

}  // namespace wf
