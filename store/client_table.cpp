#include "store/client_table.h"

#include <cstdio>
#include "store/null_value.h"

#include <strings.h>

#include <algorithm>
#include <cmath>

#include "store/change_journal.h"
#include "store/collation.h"
#include "store/data_source.h"
#include "store/datapacket_reader.h"
#include "store/field_factory.h"
#include "store/number_text.h"
#include "store/packet_loader.h"
#include "store/record_store.h"
#include "store/table_error.h"
#include "store/table_file.h"
#include "store/table_identity.h"

namespace wf {

namespace {

bool sameName(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string trimmed(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> splitNames(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string name = trimmed(list.substr(start, end - start));
    if (!name.empty()) names.push_back(name);
    start = end + 1;
  }
  return names;
}

TFieldType typeOfColumn(const Column& column) {
  switch (columnKind(column)) {
    case ColumnKind::AutoInc: return ftAutoInc;
    case ColumnKind::Integer: return ftInteger;
    case ColumnKind::SmallInt: return ftSmallint;
    case ColumnKind::Currency: return ftCurrency;
    case ColumnKind::Float: return ftFloat;
    case ColumnKind::DateTime: return ftDateTime;
    case ColumnKind::String: return ftString;
    case ColumnKind::Blob: return ftBlob;
    case ColumnKind::Memo: return ftMemo;
    case ColumnKind::Other: break;
  }
  return ftUnknown;
}

std::optional<ColumnKind> kindOfType(TFieldType type) {
  switch (type) {
    case ftAutoInc: return ColumnKind::AutoInc;
    case ftInteger: return ColumnKind::Integer;
    case ftSmallint: return ColumnKind::SmallInt;
    case ftCurrency: return ColumnKind::Currency;
    case ftFloat: return ColumnKind::Float;
    case ftDateTime: return ColumnKind::DateTime;
    case ftString: return ColumnKind::String;
    case ftBlob: return ColumnKind::Blob;
    case ftMemo: return ColumnKind::Memo;
    case ftUnknown: break;
  }
  return std::nullopt;
}

// Whether a field object of one type can show a column of another.
bool compatible(TFieldType field, TFieldType column) {
  return field == column || (field == ftInteger && column == ftAutoInc);
}

Value noValueAsNull(const Value& v) { return v.hasValue() ? v : nullValue(); }

std::string stripTrailingSpaces(std::string s) {
  std::size_t end = s.find_last_not_of(' ');
  s.erase(end == std::string::npos ? 0 : end + 1);
  return s;
}

// Restores a member on scope exit.
template <class T>
class Restore {
 public:
  Restore(T& target, T value) : target_(target), saved_(target) { target_ = value; }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;
  ~Restore() { target_ = saved_; }

 private:
  T& target_;
  T saved_;
};

}  // namespace

// Follows the master's data source: every change of the master's current record, link value,
// or open state re-ranges the detail.
class TClientTable::MasterLink : public DataSourceObserver {
 public:
  explicit MasterLink(TClientTable& detail) : detail_(detail) {}

  void activeChanged(TDataSource& source) override {
    TClientTable* master = source.DataSet();
    detail_.masterChanged(master == nullptr || !master->Active());
  }
  void dataSetChanged(TDataSource&) override { detail_.masterChanged(false); }
  void recordMoved(TDataSource&) override { detail_.masterChanged(false); }
  void fieldChanged(TDataSource&, TField* field) override {
    if (field == nullptr || sameName(field->FieldName(), detail_.masterFieldName()))
      detail_.masterChanged(false);
  }
  void dataSourceDestroyed(TDataSource&) override {
    detail_.masterSource_ = nullptr;
    detail_.masterChanged(true);
  }

 private:
  TClientTable& detail_;
};

TClientTable::TClientTable(std::string name) : name_(std::move(name)) {}

TClientTable::~TClientTable() {
  if (Active()) {
    try {
      closeInternal(false);
    } catch (const std::exception& failure) {
      // No window is left to report a failed write while the owner is being destroyed; the
      // atomic write has left the previous file in place, and the journal, when there is one,
      // stays for the next start.
      std::fprintf(stderr, "%s could not be written: %s%s\n", fileName_.c_str(), failure.what(),
                   journal_ ? "; its changes stay in the change journal" : "");
    } catch (...) {}
  }
  if (masterSource_ != nullptr && masterLink_) masterSource_->removeObserver(masterLink_.get());
  for (TDataSource* source : dataSources_) source->dataSet_ = nullptr;
}

// ---------------------------------------------------------------- configuration

void TClientTable::fail(const std::string& message) const {
  throw TableError(name_ + ": " + message);
}

void TClientTable::checkActive() const {
  if (!Active()) fail("Cannot perform this operation on a closed dataset");
}

void TClientTable::checkCanModify(bool operationDisabled) const {
  if (readOnly_ || operationDisabled) fail("Cannot modify a read-only dataset");
}

void TClientTable::attachField(std::unique_ptr<TField> field) {
  field->table_ = this;
  if (field->FieldKind() == fkCalculated) {
    field->calcIndex_ = static_cast<int>(calcFields_.size());
    calcFields_.push_back(field.get());
  }
  fields_.push_back(std::move(field));
}

TField* TClientTable::findField(const std::string& name) const {
  for (const auto& field : fields_)
    if (sameName(field->FieldName(), name)) return field.get();
  for (const auto& field : dynamicFields_)
    if (sameName(field->FieldName(), name)) return field.get();
  return nullptr;
}

TField& TClientTable::fieldByName(const std::string& name) const {
  TField* field = findField(name);
  if (field == nullptr) fail("Field '" + name + "' not found");
  return *field;
}

std::string TClientTable::masterFieldName() const {
  std::vector<std::string> names = splitNames(masterFields_);
  return names.empty() ? std::string() : names.front();
}

void TClientTable::setIndexFieldNames(const std::string& names) {
  if (!Active()) {
    indexFieldNames_ = names;
    return;
  }
  checkBrowseMode();
  std::vector<int> columns = orderColumnsFor(names);
  indexFieldNames_ = names;
  bool hadRecord = visibleBegin() < visibleEnd();
  RecordStore::Slot currentSlot = hadRecord ? store_->order()[current_] : 0;
  store_->setOrderColumns(std::move(columns));
  linkColumn_ = store_->orderColumns().empty() ? -1 : store_->orderColumns().front();
  refreshRange();
  std::size_t position = visibleBegin();
  if (hadRecord) {
    const auto& order = store_->order();
    auto it = std::find(order.begin(), order.end(), currentSlot);
    if (it != order.end()) position = static_cast<std::size_t>(it - order.begin());
  }
  current_ = std::clamp(position, visibleBegin(),
                        std::max(visibleBegin(), visibleEnd() - (visibleEnd() > 0 ? 1 : 0)));
  loadCurrentCalc();
  notifyDataSet();
}

void TClientTable::setMasterSource(TDataSource* source) {
  if (source == masterSource_) return;
  if (masterSource_ != nullptr && masterLink_) masterSource_->removeObserver(masterLink_.get());
  masterSource_ = source;
  if (masterSource_ != nullptr) {
    if (!masterLink_) masterLink_ = std::make_unique<MasterLink>(*this);
    masterSource_->addObserver(masterLink_.get());
  }
  if (Active()) masterChanged(false);
}

void TClientTable::setMasterFields(const std::string& fields) {
  masterFields_ = fields;
  if (Active()) masterChanged(false);
}

// ---------------------------------------------------------------- field access

const std::uint8_t* TClientTable::currentImage() const {
  if (state_ == DataSetState::Inactive || visibleBegin() >= visibleEnd()) return nullptr;
  return store_->image(store_->order()[current_]);
}

Value TClientTable::readField(const TField& field) const {
  if (!Active()) return Value();
  if (field.FieldKind() == fkCalculated) {
    const std::vector<Value>& calc = viewCalc_ != nullptr ? *viewCalc_ : calcValues_;
    std::size_t index = static_cast<std::size_t>(field.calcIndex_);
    return index < calc.size() ? calc[index] : Value();
  }
  if (field.column_ < 0) return Value();
  if (viewRecord_ != nullptr) return store_->value(viewRecord_, field.column_);
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
    return buffer_[static_cast<std::size_t>(field.column_)];
  const std::uint8_t* image = currentImage();
  return image != nullptr ? store_->value(image, field.column_) : Value();
}

void TClientTable::writeField(TField& field, Value value) {
  if (field.FieldKind() == fkCalculated) {
    std::vector<Value>* calc = viewCalc_ != nullptr ? viewCalc_ : &calcValues_;
    if (!calculating_ && state_ != DataSetState::Edit && state_ != DataSetState::Insert)
      fail("Dataset not in edit or insert mode");
    std::size_t index = static_cast<std::size_t>(field.calcIndex_);
    if (calc->size() <= index) calc->resize(calcFields_.size());
    (*calc)[index] = std::move(value);
    if (!calculating_) notifyField(&field);
    return;
  }
  // The state is checked first: a read-only field outside an edit reports the state.
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
    fail("Dataset not in edit or insert mode");
  if (field.ReadOnly()) throw TableError("Field '" + field.DisplayName() + "' cannot be modified");
  if (field.column_ < 0) fail("Field '" + field.FieldName() + "' not found");
  std::size_t column = static_cast<std::size_t>(field.column_);
  TFieldType type = store_->type(field.column_);
  if (value.hasValue() && (type == ftBlob || type == ftMemo) && value.bytes().empty())
    value = nullValue();
  if (value.hasValue() && type == ftString) {
    int width = store_->width(field.column_);
    int limit = field.Size() > 0 && (width <= 0 || field.Size() < width) ? field.Size() : width;
    if (limit > 0 && value.bytes().size() > static_cast<std::size_t>(limit))
      value.mutableBytes().resize(static_cast<std::size_t>(limit));
  }
  buffer_[column] = std::move(value);
  modified_ = true;
  runCalc(calcValues_);
  notifyField(&field);
  for (TField* calculated : calcFields_) notifyField(calculated);
}

Value TClientTable::valueAt(int row, const TField& field) {
  checkActive();
  std::size_t begin = visibleBegin();
  std::size_t end = visibleEnd();
  if (row < 0 || begin + static_cast<std::size_t>(row) >= end) return Value();
  std::size_t position = begin + static_cast<std::size_t>(row);
  if (position == current_ && state_ != DataSetState::Insert) return readField(field);
  const std::uint8_t* image = store_->image(store_->order()[position]);
  if (field.FieldKind() != fkCalculated) return store_->value(image, field.column_);
  std::vector<Value> calc;
  Restore<const std::uint8_t*> record(viewRecord_, image);
  Restore<std::vector<Value>*> calcView(viewCalc_, &calc);
  runCalc(calc);
  return readField(field);
}

std::string TClientTable::displayTextAt(int row, const TField& field) {
  checkActive();
  std::size_t begin = visibleBegin();
  std::size_t end = visibleEnd();
  if (row < 0 || begin + static_cast<std::size_t>(row) >= end) return std::string();
  std::size_t position = begin + static_cast<std::size_t>(row);
  if (position == current_ && state_ != DataSetState::Insert) return field.DisplayText();
  const std::uint8_t* image = store_->image(store_->order()[position]);
  std::vector<Value> calc;
  Restore<const std::uint8_t*> record(viewRecord_, image);
  Restore<std::vector<Value>*> calcView(viewCalc_, &calc);
  if (field.FieldKind() == fkCalculated) runCalc(calc);
  return field.DisplayText();
}

// ---------------------------------------------------------------- opening

void TClientTable::setActive(bool active) {
  if (active)
    open();
  else
    close();
}

// Receives the rows of a table file straight into the table's storage.
class TClientTable::Loader : public RowConsumer {
 public:
  Loader(TClientTable& table, std::size_t fileBytes) : table_(table), fileBytes_(fileBytes) {}
  ~Loader() override {
    if (table_.store_) table_.store_->endBulkLoad();
  }
  void begin(const DataPacket& meta, std::size_t expectedRows) override {
    table_.setUpStorage(meta);
    table_.store_->reserve(expectedRows);
    // The records take about as many bytes as the file; a large file's memory is mapped ahead.
    if (fileBytes_ >= kBulkLoadBytes) table_.store_->beginBulkLoad(fileBytes_);
  }
  void row(const std::vector<ValueView>& values) override { table_.store_->add(values); }

 private:
  static constexpr std::size_t kBulkLoadBytes = std::size_t{8} << 20;
  TClientTable& table_;
  std::size_t fileBytes_;
};

void TClientTable::open() {
  if (Active()) return;
  // Mapped, not read: the records are copied out of the file's pages once, into their storage.
  std::unique_ptr<MappedTableFile> content;
  if (!fileName_.empty()) content = MappedTableFile::open(fileName_);
  if (!content || content->bytes().empty()) fail("Missing data provider or data packet");
  try {
    Loader loader(*this, content->bytes().size());
    DataPacket meta;
    try {
      meta = loadDataPacket(content->bytes(), loader);
    } catch (const DataPacketError& damage) {
      throw EngineError(kEngineErrorDamagedPacket, damageDescription(damage));
    }
    if (store_) store_->endBulkLoad();
    // The whole content identifies the file; its bytes are in memory now, so this costs one
    // pass of the checksum.
    TableFileIdentity opened;
    LegacyFileStamp stamp;
    if (journaling()) {
      opened = identifyContent(content->bytes());
      stamp = legacyStampOf(fileName_, content->bytes());
    }
    content.reset();
    if (!store_) setUpStorage(meta);
    finishOpen(std::move(meta));
    journalOpened(opened, stamp);
  } catch (...) {
    dropRecords();
    throw;
  }
}

void TClientTable::createDataSet() {
  if (Active()) fail("Cannot perform this operation on an open dataset");
  if (fieldDefs_.empty()) throw TableError("No fields defined.  Cannot create dataset");
  DataPacket packet;
  for (const FieldDef& def : fieldDefs_) {
    if (def.name.size() > static_cast<std::size_t>(kMaxFieldNameLength))
      throw TableError("Fieldname " + def.name + " exceeds " + std::to_string(kMaxFieldNameLength) +
                       " chars");
    std::optional<ColumnKind> kind = kindOfType(def.type);
    if (!kind) throw EngineError(kEngineErrorDamagedPacket);
    Column column = makeColumn(def.name, *kind,
                               static_cast<std::uint16_t>(def.type == ftString ? def.size : 0));
    column.attributes = def.attributes;
    packet.columns.push_back(std::move(column));
  }
  packet.autoIncValue = 1;
  try {
    setUpStorage(packet);
    finishOpen(std::move(packet));
    journalOpened(journaling() ? identifyTableFile(fileName_) : TableFileIdentity(),
                  LegacyFileStamp());
  } catch (...) {
    dropRecords();
    throw;
  }
}

// Binds the field objects to the columns and makes an empty storage for the records.
void TClientTable::setUpStorage(const DataPacket& meta) {
  store_.reset();
  unbindFields();
  std::vector<TFieldType> types;
  std::vector<int> widths;
  for (const Column& column : meta.columns) {
    types.push_back(typeOfColumn(column));
    widths.push_back(column.width);
  }
  bindFields(meta.columns, types);

  std::shared_ptr<const Collation> collation;
  if (std::optional<std::uint32_t> lcid = meta.lcid()) {
    std::string locale = Collation::localeForLcid(*lcid);
    if (!locale.empty()) collation = Collation::forLocale(locale);
  }
  if (!collation) collation = Collation::userDefault();
  store_ = std::make_unique<RecordStore>(std::move(types), std::move(widths), std::move(collation));
}

// Takes over the packet's counters and parameters, orders the records, applies the master
// range and enters browse state on the first visible record.
void TClientTable::finishOpen(DataPacket packet) {
  packet.rows.clear();
  autoIncValue_ = packet.autoIncValue.value_or(1);
  std::optional<std::size_t> autoInc = packet.autoIncColumn();
  autoIncColumn_ = autoInc ? static_cast<int>(*autoInc) : -1;
  if (autoIncColumn_ < 0)
    for (std::size_t i = 0; i < packet.columns.size(); ++i)
      if (store_->type(static_cast<int>(i)) == ftAutoInc) autoIncColumn_ = static_cast<int>(i);
  readOnly_ = packet.readOnly();
  disabled_ = {packet.disableEdits(), packet.disableInserts(), packet.disableDeletes()};
  packet_ = std::move(packet);

  store_->setOrderColumns(orderColumnsFor(indexFieldNames_));
  linkColumn_ = store_->orderColumns().empty() ? -1 : store_->orderColumns().front();
  compileDefaults();

  changeCount_ = 0;
  modified_ = false;
  buffer_.clear();
  state_ = DataSetState::Browse;
  ranged_ = false;
  if (masterSource_ != nullptr) {
    Value key;
    if (masterKey(key)) {
      ranged_ = true;
      rangeKey_ = key;
    }
  }
  showFirstVisible();
  notifyActive();
  notifyState();
  notifyDataSet();
}

void TClientTable::bindFields(const std::vector<Column>& columns,
                              const std::vector<TFieldType>& types) {
  auto columnOf = [&](const std::string& name) -> int {
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (sameName(columns[i].name, name)) return static_cast<int>(i);
    return -1;
  };
  bool persistent = false;
  for (const auto& field : fields_) {
    if (field->FieldKind() != fkData) continue;
    persistent = true;
    int column = columnOf(field->FieldName());
    if (column < 0) fail("Field '" + field->FieldName() + "' not found");
    TFieldType actual = types[static_cast<std::size_t>(column)];
    if (!compatible(field->DataType(), actual)) {
      fail("Type mismatch for field '" + field->FieldName() + "', expecting: " +
           fieldTypeName(field->DataType()) + " actual: " + fieldTypeName(actual));
    }
    field->column_ = column;
  }
  if (persistent) return;
  // A table without persistent field objects shows every column it can interpret.
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::unique_ptr<TField> field = makeField(columns[i].name, types[i], columns[i].width);
    if (!field) continue;
    field->table_ = this;
    field->column_ = static_cast<int>(i);
    dynamicFields_.push_back(std::move(field));
  }
}

void TClientTable::unbindFields() {
  for (const auto& field : fields_) field->column_ = -1;
  dynamicFields_.clear();
}

std::vector<int> TClientTable::orderColumnsFor(const std::string& names) const {
  std::vector<int> columns;
  for (const std::string& name : splitNames(names)) {
    TField* field = findField(name);
    if (field == nullptr || field->column_ < 0) fail("Field '" + name + "' not found");
    columns.push_back(field->column_);
  }
  return columns;
}

void TClientTable::compileDefaults() {
  defaults_.assign(store_->columnCount(), Value());
  for (const auto& field : fields_) {
    if (field->column_ < 0 || field->DefaultExpression().empty()) continue;
    std::string expression = trimmed(field->DefaultExpression());
    Value value;
    double number = 0;
    FormatSettings plain;
    plain.decimalSeparator = '.';
    if (expression.size() >= 2 && expression.front() == '\'' && expression.back() == '\'') {
      value = Value::fromBytes(expression.substr(1, expression.size() - 2));
    } else if (parseFloatText(expression, plain, number)) {
      value = Value::fromDouble(number);
    } else {
      fail("Invalid default expression for field '" + field->FieldName() + "'");
    }
    TFieldType type = store_->type(field->column_);
    if (isIntegerType(type)) {
      if (!value.isDouble())
        fail("Invalid default expression for field '" + field->FieldName() + "'");
      value = Value::fromInt(std::llround(value.toDouble()));
    } else if (isFloatType(type)) {
      if (!value.isDouble())
        fail("Invalid default expression for field '" + field->FieldName() + "'");
    } else if (value.isDouble()) {
      value = Value::fromBytes(expression);
    }
    defaults_[static_cast<std::size_t>(field->column_)] = std::move(value);
  }
}

// ---------------------------------------------------------------- closing

void TClientTable::close() {
  if (!Active()) return;
  closeInternal(true);
}

void TClientTable::closeInternal(bool runAfterClose) {
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
    bool wasInsert = state_ == DataSetState::Insert;
    state_ = DataSetState::Browse;
    buffer_.clear();
    modified_ = false;
    if (wasInsert) current_ = std::min(insertReturn_, std::max(visibleBegin(), visibleEnd()));
    loadCurrentCalc();
    notifyState();
    notifyDataSet();
  }
  int changes = changeCount_;
  changeCount_ = 0;
  const bool written = !fileName_.empty() && changes != 0;
  if (written) {
    try {
      writeFile();
    } catch (...) {
      changeCount_ = changes;
      throw;
    }
  }
  // Once the file holds every change (or there was none) the journal has done its work.
  discardJournal(written || changes == 0);
  dropRecords();
  state_ = DataSetState::Inactive;
  eof_ = bof_ = true;
  notifyActive();
  notifyState();
  notifyDataSet();
  if (runAfterClose && AfterClose) AfterClose(*this);
}

void TClientTable::writeFile() {
  DataPacket packet = packet_;
  if (autoIncColumn_ >= 0) packet.autoIncValue = autoIncValue_;
  // Rows go to the encoder one at a time, in storage order.
  std::vector<RecordStore::Slot> live;
  live.reserve(store_->liveCount());
  for (RecordStore::Slot slot = 0; slot < store_->slotCount(); ++slot)
    if (store_->image(slot) != nullptr) live.push_back(slot);
  // Encoded straight into the new file, a chunk at a time. Just before the new file replaces the
  // old one the journal names it: should the program die before the journal is removed, the
  // next start sees that the file already holds the journal's changes.
  bool marked = false;
  try {
    streamTableFile(
        fileName_,
        [&](ByteSink& sink) {
          try {
            encodeDataPacket(
                packet, live.size(),
                [&](std::size_t i, RowView& row) {
                  store_->views(store_->image(live[i]), row.values);
                },
                sink);
          } catch (const DataPacketError&) {
            throw EngineError(kEngineErrorDamagedPacket);
          }
        },
        journal_
            ? std::function<void(const TableFileIdentity&)>([&](const TableFileIdentity& newFile) {
                journalWritten(newFile);
                marked = true;
              })
            : std::function<void(const TableFileIdentity&)>());
  } catch (...) {
    // The new file is not in place: the mark would name a file that does not exist.
    if (marked) journalUndo();
    throw;
  }
}

void TClientTable::dropRecords() {
  store_.reset();
  packet_ = DataPacket();
  buffer_.clear();
  calcValues_.clear();
  defaults_.clear();
  ranged_ = false;
  rangeKey_ = Value();
  range_ = Range();
  current_ = 0;
  autoIncColumn_ = -1;
  linkColumn_ = -1;
  readOnly_ = false;
  disabled_ = {};
  unbindFields();
}

void TClientTable::setLogChanges(bool logChanges) {
  checkActive();
  checkBrowseMode();
  logChanges_ = logChanges;
}

// ---------------------------------------------------------------- range and cursor

std::size_t TClientTable::visibleBegin() const { return ranged_ ? range_.begin : 0; }

std::size_t TClientTable::visibleEnd() const {
  if (!store_) return 0;
  return ranged_ ? range_.end : store_->order().size();
}

bool TClientTable::masterKey(Value& key) const {
  if (masterSource_ == nullptr || linkColumn_ < 0) return false;
  TClientTable* master = masterSource_->DataSet();
  if (master == nullptr || !master->Active()) return false;
  TField* field = master->findField(masterFieldName());
  if (field == nullptr) return false;
  key = noValueAsNull(field->value());
  return true;
}

void TClientTable::showFirstVisible() {
  refreshRange();
  current_ = visibleBegin();
  bof_ = true;
  eof_ = visibleBegin() >= visibleEnd();
  loadCurrentCalc();
}

void TClientTable::refreshRange() {
  if (!ranged_ || !store_) return;
  auto [begin, end] = store_->equalRange(rangeKey_);
  range_.begin = begin;
  range_.end = end;
}

void TClientTable::masterChanged(bool masterClosed) {
  if (!Active()) return;
  if (masterClosed || masterSource_ == nullptr) {
    if (!ranged_) return;
    checkBrowseMode();
    ranged_ = false;
    current_ = 0;
    bof_ = true;
    eof_ = visibleBegin() >= visibleEnd();
    loadCurrentCalc();
    notifyDataSet();
    return;
  }
  Value key;
  if (!masterKey(key)) return;
  checkBrowseMode();
  if (ranged_ && key == rangeKey_) return;
  ranged_ = true;
  rangeKey_ = std::move(key);
  showFirstVisible();
  notifyDataSet();
}

bool TClientTable::isEmpty() const { return !Active() || visibleBegin() >= visibleEnd(); }

int TClientTable::recordCount() const {
  if (!Active()) return 0;
  return static_cast<int>(visibleEnd() - visibleBegin());
}

int TClientTable::recNo() const {
  if (!Active() || visibleBegin() >= visibleEnd()) return -1;
  return static_cast<int>(current_ - visibleBegin());
}

void TClientTable::setCurrent(std::size_t position) {
  bool moved = position != current_;
  current_ = position;
  if (moved) {
    loadCurrentCalc();
    notifyMoved();
  }
}

void TClientTable::first() {
  checkActive();
  checkBrowseMode();
  setCurrent(visibleBegin());
  bof_ = true;
  eof_ = visibleBegin() >= visibleEnd();
}

void TClientTable::last() {
  checkActive();
  checkBrowseMode();
  if (visibleBegin() < visibleEnd()) setCurrent(visibleEnd() - 1);
  eof_ = true;
  bof_ = visibleBegin() >= visibleEnd();
}

void TClientTable::next() {
  checkActive();
  checkBrowseMode();
  bof_ = false;
  if (current_ + 1 < visibleEnd()) {
    setCurrent(current_ + 1);
    eof_ = false;
  } else {
    eof_ = true;
  }
}

void TClientTable::prior() {
  checkActive();
  checkBrowseMode();
  eof_ = false;
  if (current_ > visibleBegin()) {
    setCurrent(current_ - 1);
    bof_ = false;
  } else {
    bof_ = true;
  }
}

void TClientTable::moveTo(int row) {
  checkActive();
  checkBrowseMode();
  std::size_t begin = visibleBegin();
  std::size_t end = visibleEnd();
  if (begin >= end) return;
  std::size_t position = begin + static_cast<std::size_t>(std::max(row, 0));
  setCurrent(std::min(position, end - 1));
  bof_ = eof_ = false;
}

// ---------------------------------------------------------------- calculated fields

void TClientTable::runCalc(std::vector<Value>& calcValues) {
  calcValues.assign(calcFields_.size(), Value());
  if (calcFields_.empty() || !OnCalcFields || calculating_) return;
  Restore<bool> calculating(calculating_, true);
  Restore<std::vector<Value>*> target(viewCalc_, &calcValues);
  OnCalcFields(*this);
}

void TClientTable::loadCurrentCalc() {
  if (calcFields_.empty()) return;
  if (state_ == DataSetState::Inactive ||
      (state_ == DataSetState::Browse && visibleBegin() >= visibleEnd())) {
    calcValues_.assign(calcFields_.size(), Value());
    return;
  }
  runCalc(calcValues_);
}

// ---------------------------------------------------------------- editing

void TClientTable::checkBrowseMode() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  notifyUpdateData();
  if (modified_)
    post();
  else
    cancel();
}

void TClientTable::insert() {
  checkActive();
  checkCanModify(disabled_.inserts);
  checkBrowseMode();
  insertReturn_ = current_;
  buffer_.assign(store_->columnCount(), Value());
  for (std::size_t i = 0; i < buffer_.size(); ++i)
    if (defaults_[i].hasValue()) buffer_[i] = defaults_[i];
  if (masterSource_ != nullptr && linkColumn_ >= 0) {
    Value key;
    if (masterKey(key)) {
      TFieldType type = store_->type(linkColumn_);
      if (key.hasValue() && isIntegerType(type) && key.isDouble())
        key = Value::fromInt(std::llround(key.toDouble()));
      buffer_[static_cast<std::size_t>(linkColumn_)] = key;
    }
  }
  state_ = DataSetState::Insert;
  modified_ = false;
  eof_ = bof_ = false;
  runCalc(calcValues_);
  notifyState();
  notifyDataSet();
}

void TClientTable::edit() {
  checkActive();
  checkCanModify(disabled_.edits);
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return;
  if (visibleBegin() >= visibleEnd()) {
    insert();
    return;
  }
  store_->values(currentImage(), buffer_);
  state_ = DataSetState::Edit;
  modified_ = false;
  runCalc(calcValues_);
  notifyState();
}

std::vector<Value> TClientTable::recordToStore() const {
  std::vector<Value> values = buffer_;
  for (std::size_t i = 0; i < values.size(); ++i)
    if (store_->type(static_cast<int>(i)) == ftString && values[i].hasValue())
      values[i] = Value::fromBytes(stripTrailingSpaces(values[i].bytes()));
  return values;
}

void TClientTable::post() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  notifyUpdateData();
  if (state_ == DataSetState::Insert)
    postInsert();
  else
    postEdit();
  state_ = DataSetState::Browse;
  buffer_.clear();
  modified_ = false;
  eof_ = bof_ = false;
  loadCurrentCalc();
  notifyState();
  notifyDataSet();
}

void TClientTable::postInsert() {
  std::vector<Value> values = recordToStore();
  if (autoIncColumn_ >= 0)
    values[static_cast<std::size_t>(autoIncColumn_)] = Value::fromInt(autoIncValue_);
  journalChange(JournalOp::Insert, autoIncValue_, values);
  RecordStore::Slot slot = 0;
  std::size_t position = 0;
  try {
    slot = store_->add(values);
    try {
      position = store_->enterOrder(slot);
    } catch (...) {
      store_->erase(slot);
      throw;
    }
  } catch (...) {
    journalUndo();
    throw;
  }
  ++autoIncValue_;
  ++changeCount_;
  placeCurrent(position);
}

void TClientTable::postEdit() {
  std::vector<Value> values = recordToStore();
  std::size_t position = current_;
  RecordStore::Slot slot = store_->order()[position];
  bool sameKey = store_->sameKey(store_->image(slot), values);
  journalChange(JournalOp::Edit, keyOf(store_->image(slot)), values);
  try {
    store_->replace(slot, values);
  } catch (...) {
    journalUndo();
    throw;
  }
  if (!sameKey) {
    store_->leaveOrder(position);
    position = store_->enterOrder(slot);
  }
  ++changeCount_;
  placeCurrent(position);
}

// After the records changed: re-range and make the record at position current, or the
// nearest visible one when it left the range.
void TClientTable::placeCurrent(std::size_t position) {
  refreshRange();
  std::size_t begin = visibleBegin();
  std::size_t end = visibleEnd();
  if (begin >= end)
    current_ = begin;
  else
    current_ = std::clamp(position, begin, end - 1);
}

void TClientTable::cancel() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  bool wasInsert = state_ == DataSetState::Insert;
  state_ = DataSetState::Browse;
  buffer_.clear();
  modified_ = false;
  if (wasInsert) current_ = insertReturn_;
  loadCurrentCalc();
  notifyState();
  if (wasInsert)
    notifyDataSet();
  else
    notifyField(nullptr);
}

void TClientTable::deleteRecord() {
  checkActive();
  if (state_ == DataSetState::Insert) {
    cancel();
    return;
  }
  checkCanModify(disabled_.deletes);
  if (state_ == DataSetState::Edit) cancel();
  if (visibleBegin() >= visibleEnd()) fail("Cannot perform this operation on an empty dataset");
  std::size_t position = current_;
  bool wasLast = position + 1 >= visibleEnd();
  RecordStore::Slot slot = store_->order()[position];
  journalChange(JournalOp::Delete, keyOf(store_->image(slot)), {});
  store_->leaveOrder(position);
  store_->erase(slot);
  ++changeCount_;
  refreshRange();
  std::size_t begin = visibleBegin();
  std::size_t end = visibleEnd();
  if (begin >= end)
    current_ = begin;
  else
    current_ =
        std::clamp(wasLast ? (position > begin ? position - 1 : begin) : position, begin, end - 1);
  eof_ = bof_ = false;
  loadCurrentCalc();
  notifyDataSet();
}

// ---------------------------------------------------------------- notifications

namespace {

template <class Call>
void eachSource(const std::vector<TDataSource*>& sources, Call call) {
  std::vector<TDataSource*> copy = sources;
  for (TDataSource* source : copy)
    if (std::find(sources.begin(), sources.end(), source) != sources.end()) call(*source);
}

}  // namespace

void TClientTable::notifyActive() {
  eachSource(dataSources_, [](TDataSource& s) { s.notifyActiveChanged(); });
}
void TClientTable::notifyState() {
  eachSource(dataSources_, [](TDataSource& s) { s.notifyStateChanged(); });
}
void TClientTable::notifyDataSet() {
  eachSource(dataSources_, [](TDataSource& s) { s.notifyDataSetChanged(); });
}
void TClientTable::notifyMoved() {
  eachSource(dataSources_, [](TDataSource& s) { s.notifyRecordMoved(); });
}
void TClientTable::notifyField(TField* field) {
  eachSource(dataSources_, [field](TDataSource& s) { s.notifyFieldChanged(field); });
}
void TClientTable::notifyUpdateData() {
  eachSource(dataSources_, [](TDataSource& s) { s.notifyUpdateData(); });
}

}  // namespace wf
