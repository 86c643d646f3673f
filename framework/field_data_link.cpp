#include "framework/field_data_link.h"

#include "store/client_table.h"
#include "store/field.h"

namespace wf {

FieldDataLink::~FieldDataLink() {
  if (source_ != nullptr) source_->removeObserver(this);
}

void FieldDataLink::setDataSource(TDataSource* source) {
  if (source == source_) return;
  if (source_ != nullptr) source_->removeObserver(this);
  source_ = source;
  if (source_ != nullptr) source_->addObserver(this);
  dataChange();
}

void FieldDataLink::setFieldName(const std::string& name) {
  if (name == fieldName_) return;
  fieldName_ = name;
  dataChange();
}

TClientTable* FieldDataLink::table() const { return source_ ? source_->DataSet() : nullptr; }

TField* FieldDataLink::field() const {
  TClientTable* t = table();
  if (t == nullptr || !t->Active() || fieldName_.empty()) return nullptr;
  return t->findField(fieldName_);
}

bool FieldDataLink::editing() const {
  TClientTable* t = table();
  return t != nullptr && (t->State() == DataSetState::Edit || t->State() == DataSetState::Insert);
}

bool FieldDataLink::canModify() const {
  TField* f = field();
  return f != nullptr && !f->ReadOnly() && f->DataType() != ftAutoInc && !table()->ReadOnly();
}

bool FieldDataLink::edit() {
  if (editing()) return true;
  if (!canModify() || !source_->Enabled() || !source_->AutoEdit()) return false;
  table()->edit();
  return editing();
}

void FieldDataLink::updateRecord() {
  if (!modified_ || !onUpdateData || field() == nullptr) return;
  writing_ = true;
  try {
    onUpdateData();
  } catch (...) {
    writing_ = false;
    throw;
  }
  writing_ = false;
  modified_ = false;
}

void FieldDataLink::dataChange() {
  modified_ = false;
  if (onDataChange) onDataChange();
}

void FieldDataLink::activeChanged(TDataSource&) { dataChange(); }

void FieldDataLink::stateChanged(TDataSource&) {
  // Entering edit keeps what is being typed; going back to browse (post, cancel) shows the
  // stored value.
  if (!editing()) dataChange();
}

void FieldDataLink::dataSetChanged(TDataSource&) { dataChange(); }

void FieldDataLink::recordMoved(TDataSource&) { dataChange(); }

void FieldDataLink::fieldChanged(TDataSource&, TField* changed) {
  // The control's own write comes back here; the control then shows the stored form (cut to
  // the field's size, say), which is what it should show anyway.
  if (changed == nullptr || changed == field()) {
    // A whole-record refresh while editing (calculated fields recomputed after another control
    // wrote its field) must not throw away what is being typed here.
    if (changed == nullptr && modified_ && editing() && !writing_) return;
    if (writing_) {
      if (onDataChange) onDataChange();
      return;
    }
    dataChange();
  }
}

void FieldDataLink::updateData(TDataSource&) { updateRecord(); }

void FieldDataLink::dataSourceDestroyed(TDataSource&) {
  source_ = nullptr;
  dataChange();
}

}  // namespace wf
