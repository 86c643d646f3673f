// The client table's change journal: appending each posted change, removing the journal once
// the file is written, and applying a journal left behind by a program that did not close.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <unordered_map>

#include "store/change_journal.h"
#include "store/client_table.h"
#include "store/record_store.h"
#include "store/table_error.h"

namespace wf {

bool TClientTable::journaling() const { return !journalFileName_.empty(); }

void TClientTable::journalOpened(const TableFileIdentity& file, const LegacyFileStamp& stamp) {
  journal_.reset();
  openedFile_ = file;
  openedStamp_ = stamp;
  autoIncAtOpen_ = autoIncValue_;
}

std::int32_t TClientTable::keyOf(const std::uint8_t* image) const {
  return static_cast<std::int32_t>(store_->field(image, autoIncColumn_).integer);
}

void TClientTable::journalChange(JournalOp op, std::int32_t key, const std::vector<Value>& values) {
  if (!journaling() || autoIncColumn_ < 0) return;
  try {
    if (!journal_) {
      auto journal = std::make_unique<ChangeJournal>(journalFileName_);
      // A journal nobody recovered is never overwritten: it may hold changes of its own.
      struct stat existing {};
      if (::lstat(journalFileName_.c_str(), &existing) == 0) setJournalAside(journalFileName_);
      JournalHeader header;
      header.file = openedFile_;
      header.autoIncAtOpen = autoIncAtOpen_;
      for (std::size_t i = 0; i < store_->columnCount(); ++i)
        header.columnTypes.push_back(store_->type(int(i)));
      journal->create(header);
      journal_ = std::move(journal);
    }
    journal_->append(op, key, values);
  } catch (const TableError& failure) {
    fail(failure.what());
  }
}

void TClientTable::journalUndo() {
  if (journal_) journal_->dropLast();
}

void TClientTable::journalWritten(const TableFileIdentity& newFile) {
  if (!journal_) return;
  try {
    journal_->appendWritten(newFile);
  } catch (const TableError& failure) {
    fail(failure.what());
  }
}

void TClientTable::discardJournal(bool remove) {
  if (!journal_) return;
  if (remove) journal_->remove();
  journal_.reset();
}

bool TClientTable::journalMatches(const JournalHeader& header) const {
  const bool sameFile = header.version == kJournalVersion
                            ? header.file == openedFile_
                            : header.file.exists == openedFile_.exists &&
                                  header.file.size == openedFile_.size &&
                                  header.legacy == openedStamp_;
  if (!sameFile || header.autoIncAtOpen != autoIncAtOpen_) return false;
  if (header.columnTypes.size() != store_->columnCount()) return false;
  for (std::size_t i = 0; i < header.columnTypes.size(); ++i)
    if (header.columnTypes[i] != store_->type(int(i))) return false;
  return true;
}

// Whether a record image from the journal can be stored in this table's columns.
bool TClientTable::fitsColumns(const std::vector<Value>& values) const {
  if (values.size() != store_->columnCount()) return false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const Value& v = values[i];
    if (!v.hasValue()) continue;
    TFieldType type = store_->type(int(i));
    if ((isIntegerType(type) && !v.isInt()) || (isFloatType(type) && !v.isDouble()) ||
        (isBytesType(type) && !v.isBytes()))
      return false;
  }
  return true;
}

TClientTable::JournalRecovery TClientTable::recoverJournal() {
  JournalRecovery result;
  if (!journaling() || !Active() || journal_ || autoIncColumn_ < 0) return result;
  std::optional<std::vector<std::uint8_t>> bytes = readJournalFile(journalFileName_);
  if (!bytes) return result;
  JournalContents contents;
  try {
    contents = decodeJournal(*bytes);
  } catch (const JournalError& error) {
    if (error.incomplete()) {
      // Cut short while it was being created, before any change was written to it.
      ::unlink(journalFileName_.c_str());
      return result;
    }
  }
  // The program died after the new file was put in place and before the journal was removed:
  // the file holds every change of the journal.
  if (contents.validLength != 0 && !contents.damaged && !contents.records.empty() &&
      contents.records.back().op == JournalOp::Written &&
      contents.records.back().written == openedFile_) {
    ChangeJournal(journalFileName_).remove();
    return result;
  }
  if (contents.validLength == 0 || !journalMatches(contents.header)) {
    result.outcome = JournalRecovery::Outcome::SetAside;
    result.setAsidePath = setJournalAside(journalFileName_);
    return result;
  }
  checkBrowseMode();
  const Replay replay = replayJournal(contents);
  result.changes = replay.applied;
  result.outcome = JournalRecovery::Outcome::Replayed;
  result.damaged = contents.damaged || replay.stopped;
  result.notApplied = replay.notApplied + static_cast<int>(contents.intactAfterDamage);
  // The journal is about to be cut to the changes applied; what follows them was written by
  // someone and is kept as it was found.
  if (result.damaged) result.keptPath = keepJournalCopy(journalFileName_, *bytes);
  journal_ = std::make_unique<ChangeJournal>(journalFileName_);
  journal_->adopt(replay.end);
  return result;
}

// Applies the journal's records in order. A record that does not fit the table (a key that is
// not there, a record image of other columns) ends the replay as damage does.
TClientTable::Replay TClientTable::replayJournal(const JournalContents& contents) {
  Replay replay;
  replay.end = contents.headerLength;
  std::unordered_map<std::int32_t, RecordStore::Slot> slotOfKey;
  for (RecordStore::Slot slot = 0; slot < store_->slotCount(); ++slot)
    if (const std::uint8_t* image = store_->image(slot)) slotOfKey.emplace(keyOf(image), slot);
  auto positionOf = [&](RecordStore::Slot slot) {
    const auto& order = store_->order();
    return std::size_t(std::find(order.begin(), order.end(), slot) - order.begin());
  };
  const auto keyColumn = static_cast<std::size_t>(autoIncColumn_);
  for (std::size_t i = 0; i < contents.records.size(); ++i) {
    const JournalRecord& record = contents.records[i];
    // A mark of a new file that was never put in place (the program died before): nothing to do.
    if (record.op == JournalOp::Written) continue;
    auto found = slotOfKey.find(record.key);
    bool fits = true;
    if (record.op == JournalOp::Insert) {
      fits = found == slotOfKey.end() && fitsColumns(record.values) &&
             record.values[keyColumn] == Value::fromInt(record.key);
      if (fits) {
        RecordStore::Slot slot = store_->add(record.values);
        store_->enterOrder(slot);
        slotOfKey.emplace(record.key, slot);
        if (record.key >= autoIncValue_ && record.key < INT32_MAX) autoIncValue_ = record.key + 1;
      }
    } else if (record.op == JournalOp::Edit) {
      fits = found != slotOfKey.end() && fitsColumns(record.values) &&
             record.values[keyColumn] == Value::fromInt(record.key);
      if (fits) {
        std::size_t position = positionOf(found->second);
        bool sameKey = store_->sameKey(store_->image(found->second), record.values);
        store_->replace(found->second, record.values);
        if (!sameKey) {
          store_->leaveOrder(position);
          store_->enterOrder(found->second);
        }
      }
    } else {
      fits = found != slotOfKey.end();
      if (fits) {
        store_->leaveOrder(positionOf(found->second));
        store_->erase(found->second);
        slotOfKey.erase(found);
      }
    }
    if (!fits) {
      replay.stopped = true;
      replay.notApplied = static_cast<int>(
          std::count_if(contents.records.begin() + std::ptrdiff_t(i) + 1, contents.records.end(),
                        [](const JournalRecord& r) { return r.op != JournalOp::Written; }));
      break;
    }
    ++replay.applied;
    ++changeCount_;
    replay.end = record.end;
  }
  // Show the table as after open: the first visible record current.
  showFirstVisible();
  notifyDataSet();
  return replay;
}

}  // namespace wf
