#include "framework/db_edit.h"

#include "framework/message_box.h"
#include "framework/text_codec.h"
#include "framework/text_entry.h"
#include "store/client_table.h"
#include "store/field.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include <exception>

namespace wf {

QAction* standardPasteAction(const QMenu& menu) {
  const QString paste = QLineEdit::tr("&Paste");
  for (QAction* action : menu.actions())
    if (action->objectName() == QLatin1String("edit-paste") || action->text().startsWith(paste))
      return action;
  return nullptr;
}

bool isModifyingKey(const QKeyEvent& event) {
  if (event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Cut) ||
      event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo) ||
      event.matches(QKeySequence::DeleteEndOfWord) ||
      event.matches(QKeySequence::DeleteStartOfWord))
    return true;
  if (event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Delete) return true;
  const QString text = event.text();
  return !text.isEmpty() && text[0].isPrint() &&
         !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

DbEdit::DbEdit(QWidget* parent) : QLineEdit(parent) {
  link_.onDataChange = [this] { loadText(); };
  link_.onUpdateData = [this] { writeText(); };
  connect(this, &QLineEdit::textEdited, this, [this] { onTextEdited(); });
}

void DbEdit::setDataSource(TDataSource* source) { link_.setDataSource(source); }

void DbEdit::setDataField(const std::string& fieldName) { link_.setFieldName(fieldName); }

void DbEdit::loadText() {
  TField* f = link_.field();
  loading_ = true;
  // A string field takes at most its size in characters; other fields are not limited here.
  setMaxLength(f != nullptr && f->DataType() == ftString && f->Size() > 0 ? f->Size() : 32767);
  if (f == nullptr) {
    clear();
  } else {
    // Focused and changeable: the text as it is edited (no currency sign); otherwise as shown.
    const bool asEdited = hasFocus() && link_.canModify();
    setText(fromCodePage(asEdited ? f->EditText() : f->DisplayText()));
  }
  setModified(false);
  loading_ = false;
}

void DbEdit::writeText() {
  if (TField* f = link_.field()) f->setText(toCodePage(text()));
}

bool DbEdit::startEdit() {
  try {
    return link_.edit();
  } catch (const std::exception& failure) {
    showDefaultError(exceptionText(failure));
    return false;
  }
}

void DbEdit::onTextEdited() {
  if (loading_) return;
  // Text that arrived another way than a key (the context menu, a drop) also needs an edit.
  if (!link_.editing() && !startEdit()) {
    loadText();
    return;
  }
  link_.setModified(true);
}

void DbEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (link_.modified()) {
      loadText();  // Esc drops what was typed since the field was last shown
      selectAll();
      event->accept();
      return;
    }
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    event->accept();
    if (!isReadOnly()) pasteIfItFits();
    return;
  }
  if (!isReadOnly() && !acceptTypedText(event->text())) {
    event->accept();
    return;
  }
  if (!isReadOnly() && isModifyingKey(*event) && insertStoredForm(event->text())) {
    event->accept();
    return;
  }
  if (isModifyingKey(*event) && !startEdit()) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void DbEdit::pasteIfItFits() {
  const QString pasted = QGuiApplication::clipboard()->text();
  if (!acceptPastedText(pasted) || insertStoredForm(pasted)) return;
  if (startEdit()) paste();
}

// Text the code page stores in another form (more characters) goes in in that form, whole or
// not at all: the length limit would otherwise cut a letter from its marks.
bool DbEdit::insertStoredForm(const QString& text) {
  const QString stored = storedForm(text);
  if (stored == text) return false;
  if (this->text().size() - selectedText().size() + stored.size() > maxLength()) {
    refusedTextBeep();
    return true;
  }
  if (startEdit()) insert(stored);
  return true;
}

void DbEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (!isReadOnly() && !acceptTypedText(event->commitString())) {
    QInputMethodEvent withoutCommit(QString(), {});
    QLineEdit::inputMethodEvent(&withoutCommit);
    event->accept();
    return;
  }
  const QString stored = storedForm(event->commitString());
  if (!isReadOnly() && stored != event->commitString()) {
    QInputMethodEvent converted(event->preeditString(), event->attributes());
    converted.setCommitString(stored, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&converted);
    event->accept();
    return;
  }
  QLineEdit::inputMethodEvent(event);
}

void DbEdit::contextMenuEvent(QContextMenuEvent* event) {
  // The menu's Paste goes through the same check as the keyboard's.
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (QAction* pasteAction = standardPasteAction(*menu)) {
    disconnect(pasteAction, &QAction::triggered, nullptr, nullptr);
    connect(pasteAction, &QAction::triggered, this, [this] { pasteIfItFits(); });
  }
  menu->popup(event->globalPos());
  event->accept();
}

void DbEdit::mouseReleaseEvent(QMouseEvent* event) {
  // The middle button pastes the X selection.
  if (event->button() == Qt::MiddleButton && !isReadOnly() &&
      QGuiApplication::clipboard()->supportsSelection() &&
      !acceptPastedText(QGuiApplication::clipboard()->text(QClipboard::Selection))) {
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void DbEdit::dropEvent(QDropEvent* event) {
  if (event->mimeData()->hasText() && !acceptPastedText(event->mimeData()->text())) {
    event->ignore();
    return;
  }
  QLineEdit::dropEvent(event);
}

void DbEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!link_.modified()) loadText();
  // Reloading the text drops the selection the line edit made on keyboard entry; entering by
  // the keyboard selects the whole text again, so that typing replaces the value.
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
      reason == Qt::ShortcutFocusReason)
    selectAll();
}

void DbEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Only leaving the edit inside its window counts; another window coming up (a message box, a
  // menu) leaves the typed text pending.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
    return;
  try {
    link_.updateRecord();
    if (!link_.modified()) loadText();
  } catch (const std::exception& failure) {
    // The field refused the text: say why and keep the user in the edit to correct it.
    showDefaultError(exceptionText(failure));
    selectAll();
    setFocus();
  }
}

}  // namespace wf
