// The in-memory client table: typed columns, records held in memory in the order of
// IndexFieldNames, an optional master-detail range, browse/edit/insert states, and a file in
// the datapacket format that is read at open and written (atomically) at close after a change.
//
// Contracts:
// - The table owns its field objects (addField) and its records. Data sources bound to it are
//   not owned; the table unbinds them when it is destroyed.
// - A failure raises TableError (or EngineError) and leaves the table in the state it had
//   before, unless stated otherwise. The table's own messages carry "<Name>: " in front.
// - Data sources hear of every change synchronously, inside the operation (see data_source.h).
// - Only the user-interface thread uses a table.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/datapacket.h"
#include "store/field.h"
#include "store/field_def.h"
#include "store/journal_format.h"

namespace wf {

class TDataSource;
class Collation;
class RecordStore;
class ChangeJournal;

enum class DataSetState { Inactive, Browse, Edit, Insert };

class TClientTable {
 public:
  explicit TClientTable(std::string name);
  TClientTable(const TClientTable&) = delete;
  TClientTable& operator=(const TClientTable&) = delete;
  // A table destroyed while open is closed (and written when changed) without AfterClose.
  // A failed write is not reported; the file keeps its previous content.
  ~TClientTable();

  const std::string& Name() const { return name_; }

  // ---- configuration (set while inactive) ----
  std::vector<FieldDef>& FieldDefs() { return fieldDefs_; }
  const std::vector<FieldDef>& FieldDefs() const { return fieldDefs_; }
  std::vector<IndexDef>& IndexDefs() { return indexDefs_; }
  const std::vector<IndexDef>& IndexDefs() const { return indexDefs_; }

  const std::string& FileName() const { return fileName_; }
  void setFileName(std::string fileName) { fileName_ = std::move(fileName); }
  // ";"-separated fields the records are ordered by (ascending, case-sensitive). Changing it
  // on an open table reorders the records, keeping the current one.
  const std::string& IndexFieldNames() const { return indexFieldNames_; }
  void setIndexFieldNames(const std::string& names);
  TDataSource* MasterSource() const { return masterSource_; }
  void setMasterSource(TDataSource* source);
  const std::string& MasterFields() const { return masterFields_; }
  void setMasterFields(const std::string& fields);
  // Only concerns fetching from a remote provider; kept for completeness, no effect.
  int PacketRecords() const { return packetRecords_; }
  void setPacketRecords(int count) { packetRecords_ = count; }

  // Runs after the table has been closed (file written), not when it is destroyed open.
  std::function<void(TClientTable&)> AfterClose;
  // Fills the calculated fields of the record in view (read and set fields as usual).
  std::function<void(TClientTable&)> OnCalcFields;

  // ---- field objects ----
  // Creates a persistent field object owned by the table; add them while inactive.
  template <class FieldClass, class... Args>
  FieldClass& addField(Args&&... args) {
    auto field = std::make_unique<FieldClass>(std::forward<Args>(args)...);
    FieldClass& result = *field;
    attachField(std::move(field));
    return result;
  }
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  TField& field(int index) const { return *fields_.at(static_cast<std::size_t>(index)); }
  TField* findField(const std::string& name) const;
  // Fails with "<Name>: Field '<name>' not found".
  TField& fieldByName(const std::string& name) const;

  // ---- lifecycle ----
  // Loads FileName (see the datapacket format) and shows the first visible record; nothing
  // when already open. Any failure leaves the table inactive.
  void open();
  // Creates an empty table from FieldDefs and IndexDefs and opens it; the file is neither
  // read nor written.
  void createDataSet();
  // Drops a pending edit, writes the file when the change counter is not 0, becomes inactive
  // and runs AfterClose. A failed write raises the error and leaves the table open with all
  // its records and its change counter (the file keeps its old content).
  void close();
  bool Active() const { return state_ != DataSetState::Inactive; }
  void setActive(bool active);
  DataSetState State() const { return state_; }
  // Turning change logging off settles a pending edit first (browse check).
  void setLogChanges(bool logChanges);
  bool LogChanges() const { return logChanges_; }
  // A table whose file says so refuses insert, edit and delete.
  bool ReadOnly() const { return readOnly_; }

  // ---- cursor over the visible records (master range, index order) ----
  void first();
  void next();
  void prior();
  void last();
  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  // True when no record is visible, also on an inactive table.
  bool isEmpty() const;
  int recordCount() const;
  // 0-based position of the current record among the visible ones; -1 when there is none.
  int recNo() const;
  // Makes the visible record at row current (browse check first); rows out of range clamp.
  void moveTo(int row);

  // ---- editing ----
  void insert();
  void edit();
  void post();
  void cancel();
  void deleteRecord();
  // A field was set since edit or since the new record was begun.
  bool Modified() const { return modified_; }
  // Posts a modified pending edit or insert, cancels an unmodified one.
  void checkBrowseMode();

  // ---- counters ----
  int changeCount() const { return changeCount_; }
  std::int32_t autoIncValue() const { return autoIncValue_; }

  // ---- change journal ----
  // With a journal file name set, every posted insert, posted edit and delete is appended to
  // that file and flushed to disk before it returns; a change whose record cannot be written
  // there is refused and the table stays as it was. The journal is created at the first change
  // after open and removed once close has written the table file. Only a table with an
  // auto-increment column keeps one: that number is the key its records name.
  const std::string& JournalFileName() const { return journalFileName_; }
  void setJournalFileName(std::string path) { journalFileName_ = std::move(path); }

  struct JournalRecovery {
    enum class Outcome {
      None,      // no journal, or the table is not open (its journal is left alone); also a
                 // journal whose changes the file already holds (it is removed)
      Replayed,  // the journal matched the file: `changes` changes were applied again
      SetAside,  // the journal was written against another file: renamed to `setAsidePath`
    };
    Outcome outcome = Outcome::None;
    int changes = 0;
    std::string setAsidePath;
    // Replayed only: a damaged change ended the replay; `notApplied` whole changes followed it.
    // The journal as it was found is kept as `keptPath` before it is cut.
    bool damaged = false;
    int notApplied = 0;
    std::string keptPath;
  };
  // Run once after open: applies a journal left by a program that ended without closing the
  // table, when its header matches the file as it was opened. Keys and the auto-increment
  // counter come back as they were, every applied change counts as a change (so the next close
  // writes the file), and the journal is kept for the changes that follow. A torn tail is cut
  // off. A journal of another file is never applied. A journal whose last record names the file
  // as it is now (the program died after putting the new file in place) is removed.
  JournalRecovery recoverJournal();

  // ---- rows for grids ----
  // A field's value and display text in the visible record at row, calculated fields
  // included, without moving the current record. In insert state the new record is not a
  // row of its own.
  Value valueAt(int row, const TField& field);
  std::string displayTextAt(int row, const TField& field);

  // Data sources bound to this table (maintained by TDataSource::setDataSet).
  const std::vector<TDataSource*>& dataSources() const { return dataSources_; }

 private:
  friend class TField;
  friend class TDataSource;
  class MasterLink;
  struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
  };

  void attachField(std::unique_ptr<TField> field);
  [[noreturn]] void fail(const std::string& message) const;
  void checkActive() const;
  // Fails on a read-only table, or when the operation at hand is disabled by the file.
  void checkCanModify(bool operationDisabled) const;
  std::string masterFieldName() const;

  // field access
  const std::uint8_t* currentImage() const;
  Value readField(const TField& field) const;
  void writeField(TField& field, Value value);

  // opening and closing
  class Loader;
  void setUpStorage(const DataPacket& meta);
  void finishOpen(DataPacket packet);
  void bindFields(const std::vector<Column>& columns, const std::vector<TFieldType>& types);
  void unbindFields();
  std::vector<int> orderColumnsFor(const std::string& names) const;
  void compileDefaults();
  void closeInternal(bool runAfterClose);
  void writeFile();
  void dropRecords();

  // range, cursor, records
  std::size_t visibleBegin() const;
  std::size_t visibleEnd() const;
  bool masterKey(Value& key) const;
  void refreshRange();
  // Recomputes the visible range and makes its first record current (bof set).
  void showFirstVisible();
  void masterChanged(bool masterClosed);
  void setCurrent(std::size_t position);
  void placeCurrent(std::size_t position);
  void runCalc(std::vector<Value>& calcValues);
  void loadCurrentCalc();
  std::vector<Value> recordToStore() const;
  void postInsert();
  void postEdit();

  // change journal (client_table_journal.cpp)
  bool journaling() const;
  void journalOpened(const TableFileIdentity& file, const LegacyFileStamp& stamp);
  std::int32_t keyOf(const std::uint8_t* image) const;
  void journalChange(JournalOp op, std::int32_t key, const std::vector<Value>& values);
  void journalUndo();
  // Names the new table file in the journal before it replaces the old one.
  void journalWritten(const TableFileIdentity& newFile);
  // Closes the journal; deletes it when `remove` (its changes are in the file).
  void discardJournal(bool remove);
  bool journalMatches(const JournalHeader& header) const;
  struct Replay {
    int applied = 0;
    std::size_t end = 0;   // the offset after the last change applied
    bool stopped = false;  // a change did not fit the table
    int notApplied = 0;    // the changes after the one that did not fit
  };
  Replay replayJournal(const JournalContents& contents);
  bool fitsColumns(const std::vector<Value>& values) const;

  // notifications
  void notifyActive();
  void notifyState();
  void notifyDataSet();
  void notifyMoved();
  void notifyField(TField* field);
  void notifyUpdateData();

  std::string name_;
  std::vector<FieldDef> fieldDefs_;
  std::vector<IndexDef> indexDefs_;
  std::string fileName_;
  std::string indexFieldNames_;
  TDataSource* masterSource_ = nullptr;
  std::string masterFields_;
  int packetRecords_ = -1;

  std::vector<std::unique_ptr<TField>> fields_;
  std::vector<TField*> calcFields_;
  std::vector<std::unique_ptr<TField>> dynamicFields_;
  std::vector<TDataSource*> dataSources_;
  std::unique_ptr<MasterLink> masterLink_;

  DataSetState state_ = DataSetState::Inactive;
  bool logChanges_ = true;
  bool readOnly_ = false;
  // Operations a loaded file forbids (DISABLE_EDITS, DISABLE_INSERTS, DISABLE_DELETES), each
  // on its own; the others stay allowed.
  struct DisabledOperations {
    bool edits = false;
    bool inserts = false;
    bool deletes = false;
  } disabled_;
  bool modified_ = false;
  bool eof_ = true;
  bool bof_ = true;
  bool calculating_ = false;  // inside OnCalcFields
  int changeCount_ = 0;
  std::int32_t autoIncValue_ = 1;

  std::string journalFileName_;
  std::unique_ptr<ChangeJournal> journal_;  // created at the first change, or adopted at recovery
  TableFileIdentity openedFile_;            // the table file as it was opened
  LegacyFileStamp openedStamp_;             // the same, as first-version journals name it
  std::int32_t autoIncAtOpen_ = 1;

  std::unique_ptr<RecordStore> store_;  // columns, records, order (open tables only)
  DataPacket packet_;                   // columns and parameters to write back (no rows)
  std::vector<Value> defaults_;         // compiled default per column (unassigned: none)
  int autoIncColumn_ = -1;
  int linkColumn_ = -1;            // detail's column matched against the master
  Range range_;                    // visible part of the order
  bool ranged_ = false;            // a master range applies
  Value rangeKey_;                 // master link value of the current range
  std::size_t current_ = 0;        // position of the current record in the order
  std::size_t insertReturn_ = 0;   // current position before an insert began
  std::vector<Value> buffer_;      // edit/insert buffer, one per column
  std::vector<Value> calcValues_;  // calculated values of the active record
  // While a grid row or a calculation is in view: the record and calculated values fields read.
  const std::uint8_t* viewRecord_ = nullptr;
  std::vector<Value>* viewCalc_ = nullptr;
};

}  // namespace wf
