// A data source binds controls (and detail tables) to one client table. Every control bound to
// the same data source shares the table's current record; the data source passes every change
// of state, current record and field value of its table to its observers.
//
// Observers are not owned; an observer removes itself before it dies (or outlives the data
// source, in which case dataSourceDestroyed is its last call). All calls happen on the
// user-interface thread, synchronously, inside the table operation that caused them, in the
// order the observers were added. An observer may call table operations from a callback.
#pragma once

#include <string>
#include <vector>

namespace wf {

class TClientTable;
class TDataSource;
class TField;

class DataSourceObserver {
 public:
  virtual ~DataSourceObserver() = default;

  // The table opened or closed (or the data source was bound to another table).
  virtual void activeChanged(TDataSource& source) { (void)source; }
  // The table's state changed (browse, edit, insert, inactive).
  virtual void stateChanged(TDataSource& source) { (void)source; }
  // The visible records changed as a whole: records added, removed or reordered, the master
  // range changed, the table opened. The current record may have moved too.
  virtual void dataSetChanged(TDataSource& source) { (void)source; }
  // The current record moved to another visible record; the records are unchanged.
  virtual void recordMoved(TDataSource& source) { (void)source; }
  // A value of the active record changed: the field (calculated fields that were recomputed
  // are reported one by one after it), or nullptr when the whole record did (an edit was
  // cancelled). A new record, a post and a move come as dataSetChanged or recordMoved.
  virtual void fieldChanged(TDataSource& source, TField* field) {
    (void)source;
    (void)field;
  }
  // Sent before a post: bound edits write their pending typed text into their fields now.
  virtual void updateData(TDataSource& source) { (void)source; }
  // The data source is being destroyed; drop every pointer to it.
  virtual void dataSourceDestroyed(TDataSource& source) { (void)source; }
};

class TDataSource {
 public:
  explicit TDataSource(std::string name = std::string());
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;
  ~TDataSource();

  const std::string& Name() const { return name_; }
  TClientTable* DataSet() const { return dataSet_; }
  // Binds to a table (or to none); the table must outlive the binding or unbind itself,
  // which it does when it is destroyed.
  void setDataSet(TClientTable* table);

  // Framework defaults: enabled, and data-aware controls may start an edit.
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool AutoEdit() const { return autoEdit_; }
  void setAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }

  void addObserver(DataSourceObserver* observer);
  void removeObserver(DataSourceObserver* observer);

  // Called by the bound table.
  void notifyActiveChanged();
  void notifyStateChanged();
  void notifyDataSetChanged();
  void notifyRecordMoved();
  void notifyFieldChanged(TField* field);
  void notifyUpdateData();

 private:
  friend class TClientTable;
  template <class Call>
  void forEachObserver(Call call);

  std::string name_;
  TClientTable* dataSet_ = nullptr;
  bool enabled_ = true;
  bool autoEdit_ = true;
  std::vector<DataSourceObserver*> observers_;
};

}  // namespace wf
