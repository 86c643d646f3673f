// Connects a data-aware control (edit, memo) to one field of a data source's table: tells the
// control when to show the field again and when to write its typed text, and starts edits as the
// data source allows.
#pragma once

#include "store/data_source.h"

#include <functional>
#include <string>

namespace wf {

class TClientTable;
class TField;

class FieldDataLink : public DataSourceObserver {
 public:
  FieldDataLink() = default;
  ~FieldDataLink() override;
  FieldDataLink(const FieldDataLink&) = delete;
  FieldDataLink& operator=(const FieldDataLink&) = delete;

  // The data source is not owned; it may die first (the link then forgets it).
  void setDataSource(TDataSource* source);
  TDataSource* dataSource() const { return source_; }
  void setFieldName(const std::string& name);
  const std::string& fieldName() const { return fieldName_; }

  TClientTable* table() const;
  // The bound field while its table is open, otherwise nullptr.
  TField* field() const;
  // The table is in edit or insert state.
  bool editing() const;
  // The control may change the field: the field exists and is writable, the table is open and
  // not read-only.
  bool canModify() const;
  // Puts the table into edit state when it is in browse state and the data source allows it
  // (enabled, AutoEdit). Failures of the table propagate. True when the table is then editing.
  bool edit();

  // The control's text differs from the field's; set by the control when the user types.
  void setModified(bool modified) { modified_ = modified; }
  bool modified() const { return modified_; }
  // Writes the control's text into the field now, when it was modified (the record stays in
  // edit or insert state). Failures propagate; the text stays modified.
  void updateRecord();

  // Called when the control should show the field's value again.
  std::function<void()> onDataChange;
  // Called to write the control's text into field().
  std::function<void()> onUpdateData;

  // DataSourceObserver
  void activeChanged(TDataSource& source) override;
  void stateChanged(TDataSource& source) override;
  void dataSetChanged(TDataSource& source) override;
  void recordMoved(TDataSource& source) override;
  void fieldChanged(TDataSource& source, TField* field) override;
  void updateData(TDataSource& source) override;
  void dataSourceDestroyed(TDataSource& source) override;

 private:
  void dataChange();

  TDataSource* source_ = nullptr;
  std::string fieldName_;
  bool modified_ = false;
  bool writing_ = false;
};

}  // namespace wf
