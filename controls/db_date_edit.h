// The data-bound date edit: shows a date-time field of the current record through a data source
// and writes the typed or picked date back into it, keeping the field's time of day. The edit is
// read-only unless the table is in edit or insert state.
#pragma once

#include "controls/custom_date_edit.h"
#include "store/data_source.h"

#include <QString>

namespace wf {

class TField;

class TDBDateEdit : public TCustomDateEdit, private DataSourceObserver {
  Q_OBJECT
 public:
  explicit TDBDateEdit(QWidget* parent = nullptr);
  ~TDBDateEdit() override;

  // The data source is not owned; it may be destroyed first (the edit then forgets it).
  TDataSource* dataSource() const { return source_; }
  void setDataSource(TDataSource* source);
  QString dataField() const { return dataField_; }
  void setDataField(const QString& name);

  // The bound field while its table is open, otherwise nullptr.
  TField* field() const;
  // The table is in edit or insert state.
  bool dataEditing() const;

  // Writes the text into the field when it was changed: the date read from the text plus the
  // field's previous time of day, or no value for the empty date. With CheckOnExit an unreadable
  // non-blank text is refused instead ("''%s'' is not a valid date"). Failures propagate.
  void updateRecord();

 protected:
  bool dataReadOnly() const override;
  bool editCanModify() override;
  void reset() override;
  void leaving() override;
  void applyPickedDate(QDate date) override;

 private:
  // Shows the field again (mask first), or an empty unmasked text when there is no field.
  void dataChange();
  void editingChange();
  void writeDate(QDate date);

  // DataSourceObserver
  void activeChanged(TDataSource& source) override;
  void stateChanged(TDataSource& source) override;
  void dataSetChanged(TDataSource& source) override;
  void recordMoved(TDataSource& source) override;
  void fieldChanged(TDataSource& source, TField* field) override;
  void updateData(TDataSource& source) override;
  void dataSourceDestroyed(TDataSource& source) override;

  TDataSource* source_ = nullptr;
  QString dataField_;
  bool wasEditing_ = false;
};

}  // namespace wf
