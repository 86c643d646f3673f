#include "controls/db_date_edit.h"

#include "controls/date_serial.h"
#include "framework/message_box.h"
#include "framework/text_codec.h"
#include "store/client_table.h"
#include "store/field.h"

#include <exception>

namespace wf {

TDBDateEdit::TDBDateEdit(QWidget* parent) : TCustomDateEdit(parent) { dataChange(); }

TDBDateEdit::~TDBDateEdit() {
  if (source_ != nullptr) source_->removeObserver(this);
}

void TDBDateEdit::setDataSource(TDataSource* source) {
  if (source == source_) return;
  if (source_ != nullptr) source_->removeObserver(this);
  source_ = source;
  if (source_ != nullptr) source_->addObserver(this);
  wasEditing_ = dataEditing();
  dataChange();
}

void TDBDateEdit::setDataField(const QString& name) {
  if (name == dataField_) return;
  dataField_ = name;
  dataChange();
}

TField* TDBDateEdit::field() const {
  TClientTable* table = source_ != nullptr ? source_->DataSet() : nullptr;
  if (table == nullptr || !table->Active() || dataField_.isEmpty()) return nullptr;
  return table->findField(dataField_.toStdString());
}

bool TDBDateEdit::dataEditing() const {
  TClientTable* table = source_ != nullptr ? source_->DataSet() : nullptr;
  return table != nullptr &&
         (table->State() == DataSetState::Edit || table->State() == DataSetState::Insert);
}

bool TDBDateEdit::dataReadOnly() const {
  const TField* f = field();
  return f == nullptr || f->ReadOnly() || !dataEditing();
}

bool TDBDateEdit::editCanModify() {
  TField* f = field();
  if (f == nullptr || f->ReadOnly()) return false;
  if (dataEditing()) return true;
  if (!source_->Enabled() || !source_->AutoEdit() || f->DataSet()->ReadOnly()) return false;
  try {
    f->DataSet()->edit();
  } catch (const std::exception& failure) {
    showDefaultError(exceptionText(failure));
    return false;
  }
  return dataEditing();
}

void TDBDateEdit::dataChange() {
  if (TField* f = field()) {
    applyEditMask();
    showDate(dateOfSerial(f->AsDateTime()));
  } else {
    setInputMask(QString());
    setText(QString());
  }
  setModified(false);
  updateReadOnly();
}

void TDBDateEdit::editingChange() {
  const bool editing = dataEditing();
  const bool started = editing && !wasEditing_;
  wasEditing_ = editing;
  updateReadOnly();
  if (!started || !defaultToday()) return;
  TField* f = field();
  // A null field reads as 0, the empty date, too.
  if (f != nullptr && !f->ReadOnly() && f->AsDateTime() == 0.0) f->setAsDateTime(serialOf(now()));
}

void TDBDateEdit::writeDate(QDate date) {
  TField* f = field();
  if (f == nullptr) return;
  const double value = serialOf(date, timeOfSerial(f->AsDateTime()));
  if (!date.isValid() || value == 0.0) {
    f->Clear();
  } else {
    f->setAsDateTime(value);
  }
}

void TDBDateEdit::updateRecord() {
  if (!isModified() || field() == nullptr) return;
  // Checked here and not only when the focus leaves: a Save reached by its shortcut posts
  // without the focus ever leaving the edit.
  if (checkOnExit()) checkValidDate();
  writeDate(date());
  setModified(false);
}

void TDBDateEdit::reset() { dataChange(); }

void TDBDateEdit::leaving() {
  updateRecord();
  TCustomDateEdit::leaving();
}

void TDBDateEdit::applyPickedDate(QDate date) {
  if (!editCanModify()) return;
  writeDate(date);
  dataChange();
  selectAll();
}

void TDBDateEdit::activeChanged(TDataSource&) {
  wasEditing_ = dataEditing();
  dataChange();
}

void TDBDateEdit::stateChanged(TDataSource&) {
  if (dataEditing() != wasEditing_) editingChange();
}

void TDBDateEdit::dataSetChanged(TDataSource&) { dataChange(); }

void TDBDateEdit::recordMoved(TDataSource&) { dataChange(); }

void TDBDateEdit::fieldChanged(TDataSource&, TField* changed) {
  if (changed != nullptr && changed != field()) return;
  // A whole-record refresh while editing (calculated fields recomputed after another control
  // wrote its field) keeps what is being typed here.
  if (changed == nullptr && isModified() && dataEditing()) return;
  dataChange();
}

void TDBDateEdit::updateData(TDataSource&) {
  try {
    updateRecord();
  } catch (...) {
    // The post fails with the error, which its caller shows; the text to correct is where the
    // user will look.
    refusalReported();
    if (isVisible()) {
      setFocus(Qt::OtherFocusReason);
      selectAll();
    }
    throw;
  }
}

void TDBDateEdit::dataSourceDestroyed(TDataSource&) {
  source_ = nullptr;
  wasEditing_ = false;
  dataChange();
}

}  // namespace wf
