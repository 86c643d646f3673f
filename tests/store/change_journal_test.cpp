// The change journal: its record format and torn tails, and a table that journals its posts,
// recovers them after the process died, and never applies a journal to another file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "store/change_journal.h"
#include "store/crc32c.h"
#include "store/data_folder_lock.h"
#include "store/data_module.h"
#include "store/journal_format.h"
#include "store/table_error.h"
#include "store/table_identity.h"
#include "table_fixture.h"

namespace wf::test {
namespace {

// ---- format ----

TEST(Crc32c, KnownValueAndContinuation) {
  EXPECT_EQ(crc32c("123456789", 9), 0xE3069283u);
  std::string bytes(77, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 37 + 11);
  const std::uint32_t whole = crc32c(bytes.data(), bytes.size());
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut)
    EXPECT_EQ(crc32c(bytes.data() + cut, bytes.size() - cut, crc32c(bytes.data(), cut)), whole)
        << cut;
}

JournalHeader sampleHeader() {
  JournalHeader header;
  header.file = {true, 1234, 0xCAFEBABE};
  header.autoIncAtOpen = 7;
  header.columnTypes = {ftAutoInc, ftString, ftBlob, ftCurrency};
  return header;
}

std::vector<std::uint8_t> sampleJournal(std::vector<std::size_t>& recordEnds) {
  std::vector<std::uint8_t> bytes = encodeJournalHeader(sampleHeader());
  encodeJournalRecord(bytes, JournalOp::Insert, 7,
                      {Value::fromInt(7), Value::fromBytes("Volvo"),
                       Value::fromBytes(std::string(300, '\xFF')), Value::fromDouble(12.5)});
  recordEnds.push_back(bytes.size());
  encodeJournalRecord(
      bytes, JournalOp::Edit, 7,
      {Value::fromInt(7), Value::null(), Value::unassigned(), Value::fromDouble(-0.25)});
  recordEnds.push_back(bytes.size());
  encodeJournalRecord(bytes, JournalOp::Delete, 3, {});
  recordEnds.push_back(bytes.size());
  return bytes;
}

TEST(JournalFormat, RoundTripOfHeaderAndRecords) {
  std::vector<std::size_t> ends;
  std::vector<std::uint8_t> bytes = sampleJournal(ends);
  JournalContents contents = decodeJournal(bytes);
  EXPECT_EQ(contents.header, sampleHeader());
  EXPECT_EQ(contents.validLength, bytes.size());
  ASSERT_EQ(contents.records.size(), 3u);
  EXPECT_EQ(contents.records[0].op, JournalOp::Insert);
  EXPECT_EQ(contents.records[0].values[2].bytes(), std::string(300, '\xFF'));
  EXPECT_EQ(contents.records[1].values[1], Value::null());
  EXPECT_EQ(contents.records[1].values[2], Value::unassigned());
  EXPECT_EQ(contents.records[1].values[3], Value::fromDouble(-0.25));
  EXPECT_EQ(contents.records[2].op, JournalOp::Delete);
  EXPECT_EQ(contents.records[2].key, 3);
  EXPECT_TRUE(contents.records[2].values.empty());
}

// Cut anywhere, a journal gives the whole records before the cut; a cut inside the header is
// recognised as a creation cut short.
TEST(JournalFormat, EveryCutKeepsTheWholeRecordsBeforeIt) {
  std::vector<std::size_t> ends;
  std::vector<std::uint8_t> bytes = sampleJournal(ends);
  const std::size_t headerSize = encodeJournalHeader(sampleHeader()).size();
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    std::span<const std::uint8_t> part(bytes.data(), cut);
    if (cut < headerSize) {
      try {
        decodeJournal(part);
        ADD_FAILURE() << "cut " << cut << " inside the header was accepted";
      } catch (const JournalError& error) {
        EXPECT_TRUE(error.incomplete()) << cut;
      }
      continue;
    }
    JournalContents contents = decodeJournal(part);
    std::size_t whole =
        std::count_if(ends.begin(), ends.end(), [&](std::size_t end) { return end <= cut; });
    EXPECT_EQ(contents.records.size(), whole) << "cut at " << cut;
    EXPECT_EQ(contents.validLength, whole == 0 ? headerSize : ends[whole - 1]) << cut;
    EXPECT_FALSE(contents.damaged) << cut;
  }
}

// Damage ends the records read; unlike a tail cut short it is reported, with the whole records
// found after it.
TEST(JournalFormat, DamagedBytesEndTheRecordsOrRefuseTheHeader) {
  std::vector<std::size_t> ends;
  const std::vector<std::uint8_t> bytes = sampleJournal(ends);
  struct Case {
    std::size_t offset;
    std::size_t recordsLeft;
    bool headerRefused;
    std::size_t intactAfter;
  } cases[] = {
      {0, 0, true, 0},             // magic
      {20, 0, true, 0},            // header field, caught by the header checksum
      {ends[0] + 6, 1, false, 1},  // inside the second record's payload
      {ends[0] + 1, 1, false, 1},  // the second record's length: the third is found by search
      {ends[2] - 1, 2, false, 0},  // the last record's checksum
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> damaged = bytes;
    damaged[c.offset] ^= 0x40;
    if (c.headerRefused) {
      try {
        decodeJournal(damaged);
        ADD_FAILURE() << "damage at " << c.offset << " accepted";
      } catch (const JournalError& error) {
        EXPECT_FALSE(error.incomplete()) << c.offset;
      }
      continue;
    }
    const JournalContents contents = decodeJournal(damaged);
    EXPECT_EQ(contents.records.size(), c.recordsLeft) << c.offset;
    EXPECT_TRUE(contents.damaged) << c.offset;
    EXPECT_EQ(contents.intactAfterDamage, c.intactAfter) << c.offset;
  }

  // What a crash leaves is no damage: a record cut short, or zeros where the file grew.
  for (std::size_t cut = ends[1] + 1; cut < ends[2]; cut += 7)
    EXPECT_FALSE(decodeJournal(std::span(bytes.data(), cut)).damaged) << cut;
  std::vector<std::uint8_t> zeros(bytes.begin(), bytes.begin() + std::ptrdiff_t(ends[1]));
  zeros.resize(zeros.size() + 300, 0);
  const JournalContents grown = decodeJournal(zeros);
  EXPECT_EQ(grown.records.size(), 2u);
  EXPECT_FALSE(grown.damaged);
}

// The file-exists byte is 0 or 1; a header with anything else (and a correct checksum) is no
// header this program wrote.
TEST(JournalFormat, AFileExistsByteOtherThanZeroOrOneIsRefused) {
  for (std::uint8_t value : {0, 1, 2, 0xFF}) {
    std::vector<std::uint8_t> bytes = encodeJournalHeader(sampleHeader());
    bytes[10] = value;  // after the magic and the version
    const std::size_t crcAt = bytes.size() - 4;
    const std::uint32_t crc = crc32c(bytes.data(), crcAt);
    for (int i = 0; i < 4; ++i) bytes[crcAt + std::size_t(i)] = std::uint8_t(crc >> (8 * i));
    if (value <= 1) {
      EXPECT_EQ(decodeJournal(bytes).header.file.exists, value == 1);
    } else {
      EXPECT_THROW(decodeJournal(bytes), JournalError) << int(value);
    }
  }
}

// Journals of the first version (file named by its time and a sample of its bytes) still read,
// and the mark of a new file reads back as written.
TEST(JournalFormat, FirstVersionHeadersAndTheNewFileMarkRoundTrip) {
  JournalHeader first = sampleHeader();
  first.version = 1;
  first.file.crc = 0;
  first.legacy = {1700000000, 987654321, 0xCAFEBABE};
  std::vector<std::uint8_t> bytes = encodeJournalHeader(first);
  EXPECT_EQ(bytes.size(), encodeJournalHeader(sampleHeader()).size() + 12);
  encodeJournalRecord(bytes, JournalOp::Delete, 3, {});
  encodeJournalWritten(bytes, {true, 5000, 0x01020304});
  const JournalContents contents = decodeJournal(bytes);
  EXPECT_EQ(contents.header, first);
  ASSERT_EQ(contents.records.size(), 2u);
  EXPECT_EQ(contents.records[1].op, JournalOp::Written);
  EXPECT_EQ(contents.records[1].written, (TableFileIdentity{true, 5000, 0x01020304}));
  EXPECT_EQ(contents.validLength, bytes.size());
}

// ---- the table's journal ----

// Ends the process at once, as a crash or a kill does: no destructor closes a table.
[[noreturn]] void die() {
  ::kill(::getpid(), SIGKILL);
  ::pause();
  ::_exit(6);
}

// Runs `session` in a child process; the session ends with die(), before its tables are closed.
void runAndDie(const std::function<void()>& session) {
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    try {
      session();
    } catch (...) {
      ::_exit(3);
    }
    ::_exit(7);  // the session returned instead of dying
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the session ended with " << WEXITSTATUS(status);
}

// Sets or clears an inode flag (append-only, immutable) of a file or folder; false where the
// file system has none.
bool setFileFlag(const std::string& path, int flag, bool on) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | flag : flags & ~flag;
  done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return done;
}

class TableJournalTest : public ::testing::Test {
 protected:
  void SetUp() override { useTestLocale(); }

  // A vehicle table on the scratch folder's files, opened (empty when there is no file yet).
  std::unique_ptr<VehicleTable> openVehicles() {
    auto v = std::make_unique<VehicleTable>();
    v->table.setFileName(tableFile);
    v->table.setJournalFileName(journalFile);
    if (std::filesystem::exists(tableFile))
      v->table.open();
    else
      v->table.createDataSet();
    v->table.setLogChanges(false);
    return v;
  }
  void addVehicle(VehicleTable& v, const std::string& make, const std::string& photo) {
    v.table.insert();
    v.make.setAsString(make);
    v.photo.setAsString(photo);
    v.table.post();
  }
  // A table file with Ford (1) and Saab (2), written by a clean session.
  void writeTwoVehicles() {
    auto v = openVehicles();
    addVehicle(*v, "Saab", "photo-saab");
    addVehicle(*v, "Ford", "photo-ford");
    v->table.close();
  }
  // Two vehicles in the file, then a session that adds a third and dies: returns its journal.
  std::string journalOfASessionThatDied() {
    writeTwoVehicles();
    runAndDie([&] {
      auto v = openVehicles();
      addVehicle(*v, "Volvo", "v");
      die();
    });
    return readBytes(journalFile);
  }
  std::vector<std::string> folderNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  ScratchFolder folder;
  std::string tableFile = folder.file("Vehicle.cds");
  std::string journalFile = folder.file("Vehicle.journal");
};

TEST_F(TableJournalTest, ChangesOfADeadSessionComeBackWithTheirKeysAndCounter) {
  writeTwoVehicles();
  const std::string fileBefore = readBytes(tableFile);
  runAndDie([&] {
    auto v = openVehicles();
    addVehicle(*v, "Volvo", std::string(100000, '\x01'));  // 3
    addVehicle(*v, "Audi", "a");                           // 4
    v->table.first();                                      // Audi
    v->table.deleteRecord();
    v->table.first();  // Ford
    v->table.edit();
    v->make.setAsString("Fiat");
    v->table.post();
    die();
  });
  EXPECT_TRUE(readBytes(tableFile) == fileBefore) << "a post must not touch the table file";

  auto v = openVehicles();
  TClientTable::JournalRecovery recovery = v->table.recoverJournal();
  EXPECT_EQ(recovery.outcome, TClientTable::JournalRecovery::Outcome::Replayed);
  EXPECT_EQ(recovery.changes, 4);
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Fiat", "Saab", "Volvo"}));
  EXPECT_EQ(v->numbers(), (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(v->table.autoIncValue(), 5) << "number 4 was given once and is never given again";
  EXPECT_EQ(v->table.changeCount(), 4);
  v->table.last();
  EXPECT_EQ(v->photo.AsString(), std::string(100000, '\x01'));

  // Later changes go on into the same journal; a second death loses none of them.
  addVehicle(*v, "BMW", "b");
  v.reset();  // destroyed open: writes the file, removes the journal
  EXPECT_FALSE(std::filesystem::exists(journalFile));
  auto again = openVehicles();
  EXPECT_EQ(again->table.recoverJournal().outcome, TClientTable::JournalRecovery::Outcome::None);
  EXPECT_EQ(again->makes(), (std::vector<std::string>{"BMW", "Fiat", "Saab", "Volvo"}));
  EXPECT_EQ(again->table.autoIncValue(), 6);
}

TEST_F(TableJournalTest, CloseRemovesTheJournalAndAnUnchangedTableHasNone) {
  auto v = openVehicles();
  EXPECT_FALSE(std::filesystem::exists(journalFile)) << "no journal before the first change";
  addVehicle(*v, "Saab", "p");
  EXPECT_TRUE(std::filesystem::exists(journalFile));
  EXPECT_EQ(decodeJournal(*readJournalFile(journalFile)).records.size(), 1u);
  v->table.close();
  EXPECT_EQ(folderNames(), (std::vector<std::string>{"Vehicle.cds"}));
}

TEST_F(TableJournalTest, ATornTailIsCutOffAndLaterChangesSurviveTheNextDeath) {
  runAndDie([&] {
    auto v = openVehicles();
    addVehicle(*v, "Saab", "p");
    addVehicle(*v, "Ford", "q");
    die();
  });
  // The second record loses its last bytes, as when the process died while appending it.
  std::string bytes = readBytes(journalFile);
  writeBytes(journalFile, bytes.substr(0, bytes.size() - 3));
  runAndDie([&] {
    auto v = openVehicles();
    if (v->table.recoverJournal().changes != 1) ::_exit(4);
    addVehicle(*v, "Audi", "r");
    die();
  });
  auto v = openVehicles();
  EXPECT_EQ(v->table.recoverJournal().changes, 2);
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Audi", "Saab"}));
  EXPECT_EQ(v->numbers(), (std::vector<int>{2, 1}));
}

// A journal whose file has changed since (a restored backup, a crash after the new file was put
// in place but before the journal was removed) is renamed aside, never applied.
TEST_F(TableJournalTest, AJournalOfAnotherFileIsSetAsideNotApplied) {
  const std::string journal = journalOfASessionThatDied();
  {
    // A clean session recovers, writes the file and removes the journal...
    auto v = openVehicles();
    ASSERT_EQ(v->table.recoverJournal().changes, 1);
    v->table.close();
  }
  // ...and the journal is back, as if the removal had not happened.
  writeBytes(journalFile, journal);
  auto v = openVehicles();
  TClientTable::JournalRecovery recovery = v->table.recoverJournal();
  EXPECT_EQ(recovery.outcome, TClientTable::JournalRecovery::Outcome::SetAside);
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford", "Saab", "Volvo"})) << "replayed twice";
  EXPECT_EQ(v->table.changeCount(), 0);
  EXPECT_FALSE(std::filesystem::exists(journalFile));
  EXPECT_TRUE(readBytes(recovery.setAsidePath) == journal);
  EXPECT_EQ(recovery.setAsidePath.rfind(journalFile + ".20", 0), 0u) << recovery.setAsidePath;
}

// One damaged record in the middle: the changes before it come back, and the journal as it was
// found (with the intact change after the damage) is kept before it is cut.
TEST_F(TableJournalTest, ADamagedRecordKeepsTheJournalAndCountsTheChangesAfterIt) {
  runAndDie([&] {
    auto v = openVehicles();
    addVehicle(*v, "Saab", "p");
    addVehicle(*v, "Ford", "q");
    addVehicle(*v, "Audi", "r");
    die();
  });
  std::string bytes = readBytes(journalFile);
  const JournalContents intact = decodeJournal(*readJournalFile(journalFile));
  ASSERT_EQ(intact.records.size(), 3u);
  bytes[intact.records[0].end + 10] ^= 0x01;  // inside the second record
  writeBytes(journalFile, bytes);

  auto v = openVehicles();
  const TClientTable::JournalRecovery recovery = v->table.recoverJournal();
  EXPECT_EQ(recovery.outcome, TClientTable::JournalRecovery::Outcome::Replayed);
  EXPECT_EQ(recovery.changes, 1);
  EXPECT_TRUE(recovery.damaged);
  EXPECT_EQ(recovery.notApplied, 1);
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Saab"}));
  EXPECT_EQ(recovery.keptPath.rfind(journalFile + ".20", 0), 0u) << recovery.keptPath;
  EXPECT_TRUE(readBytes(recovery.keptPath) == bytes) << "the journal as it was found";
  EXPECT_EQ(readBytes(journalFile).size(), intact.records[0].end) << "cut after the first";

  // A torn tail is not damage: nothing is kept for it.
  addVehicle(*v, "BMW", "b");
  v->table.close();
  runAndDie([&] {
    auto w = openVehicles();
    addVehicle(*w, "Fiat", "f");
    die();
  });
  std::string torn = readBytes(journalFile);
  writeBytes(journalFile, torn.substr(0, torn.size() - 2));
  auto w = openVehicles();
  const TClientTable::JournalRecovery tail = w->table.recoverJournal();
  EXPECT_FALSE(tail.damaged);
  EXPECT_TRUE(tail.keptPath.empty());
  EXPECT_EQ(tail.changes, 0);
}

// A record that does not fit the table ends the replay as damage does: kept, and counted.
TEST_F(TableJournalTest, AChangeThatDoesNotFitIsReportedAsDamage) {
  const std::string died = journalOfASessionThatDied();  // its header fits the file
  std::vector<std::uint8_t> bytes = encodeJournalHeader(
      decodeJournal(std::span(reinterpret_cast<const std::uint8_t*>(died.data()), died.size()))
          .header);
  encodeJournalRecord(bytes, JournalOp::Delete, 1, {});   // Saab
  encodeJournalRecord(bytes, JournalOp::Delete, 77, {});  // no such vehicle
  encodeJournalRecord(bytes, JournalOp::Delete, 2, {});   // Ford
  writeBytes(journalFile, std::string(bytes.begin(), bytes.end()));
  auto v = openVehicles();
  const TClientTable::JournalRecovery recovery = v->table.recoverJournal();
  EXPECT_EQ(recovery.changes, 1);
  EXPECT_TRUE(recovery.damaged);
  EXPECT_EQ(recovery.notApplied, 1);
  EXPECT_FALSE(recovery.keptPath.empty());
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford"}));
}

// A copy of the folder (every file with a new time) keeps its journals applicable: the table
// file is known by its content.
TEST_F(TableJournalTest, ACopiedFolderStillAppliesItsJournals) {
  journalOfASessionThatDied();
  ScratchFolder copy;
  for (const char* name : {"Vehicle.cds", "Vehicle.journal"})
    std::filesystem::copy_file(folder.file(name), copy.file(name));
  const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};  // 2001, unlike the original
  ::utimensat(AT_FDCWD, copy.file("Vehicle.cds").c_str(), times, 0);
  tableFile = copy.file("Vehicle.cds");
  journalFile = copy.file("Vehicle.journal");

  auto v = openVehicles();
  const TClientTable::JournalRecovery recovery = v->table.recoverJournal();
  EXPECT_EQ(recovery.outcome, TClientTable::JournalRecovery::Outcome::Replayed);
  EXPECT_EQ(recovery.changes, 1);
  v->table.close();
  EXPECT_FALSE(std::filesystem::exists(journalFile));
  EXPECT_EQ(openVehicles()->makes(), (std::vector<std::string>{"Ford", "Saab", "Volvo"}));
}

// Close names the new file in the journal before the file replaces the old one. A program that
// died between that replacement and the journal's removal left a journal whose changes are all
// in the file: it is removed without a word. One that died before the replacement left the old
// file: the journal is applied, the mark of the file that never came is dropped.
TEST_F(TableJournalTest, TheNewFileMarkTellsWhetherTheCloseGotThrough) {
  const std::string pending = journalOfASessionThatDied();
  const std::string oldFile = readBytes(tableFile);
  {
    auto v = openVehicles();
    ASSERT_EQ(v->table.recoverJournal().changes, 1);
    v->table.close();
  }
  const TableFileIdentity written = identifyTableFile(tableFile);
  std::vector<std::uint8_t> marked(pending.begin(), pending.end());
  encodeJournalWritten(marked, written);

  // Died after the rename: the file holds the journal's changes.
  writeBytes(journalFile, std::string(marked.begin(), marked.end()));
  {
    auto v = openVehicles();
    const TClientTable::JournalRecovery recovery = v->table.recoverJournal();
    EXPECT_EQ(recovery.outcome, TClientTable::JournalRecovery::Outcome::None);
    EXPECT_FALSE(std::filesystem::exists(journalFile));
    EXPECT_EQ(folderNames(), (std::vector<std::string>{"Vehicle.cds"})) << "nothing set aside";
    EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford", "Saab", "Volvo"}));
    EXPECT_EQ(v->table.changeCount(), 0);
  }

  // Died after the mark, before the rename: the old file is still there.
  writeBytes(tableFile, oldFile);
  std::vector<std::uint8_t> beforeRename(pending.begin(), pending.end());
  encodeJournalWritten(beforeRename, {true, 999, 0x5EED});
  writeBytes(journalFile, std::string(beforeRename.begin(), beforeRename.end()));
  auto v = openVehicles();
  const TClientTable::JournalRecovery recovery = v->table.recoverJournal();
  EXPECT_EQ(recovery.outcome, TClientTable::JournalRecovery::Outcome::Replayed);
  EXPECT_EQ(recovery.changes, 1);
  EXPECT_FALSE(recovery.damaged);
  EXPECT_EQ(readBytes(journalFile), pending) << "the mark is cut off";
}

// The real close: a program that died right after the new file was put in place (here the
// journal cannot be removed: it is append-only) leaves a journal the next start drops silently.
TEST_F(TableJournalTest, ACloseCutShortAfterTheRenameIsSilentAtTheNextStart) {
  writeTwoVehicles();
  runAndDie([&] {
    auto v = openVehicles();
    addVehicle(*v, "Volvo", "v");
    if (!setFileFlag(journalFile, FS_APPEND_FL, true)) ::_exit(8);
    v->table.close();
    die();
  });
  if (!std::filesystem::exists(journalFile))
    GTEST_SKIP() << "this file system cannot make a file append-only";
  ASSERT_TRUE(setFileFlag(journalFile, FS_APPEND_FL, false));
  const JournalContents left = decodeJournal(*readJournalFile(journalFile));
  ASSERT_EQ(left.records.size(), 2u);
  EXPECT_EQ(left.records[1].op, JournalOp::Written);
  auto v = openVehicles();
  EXPECT_EQ(v->table.recoverJournal().outcome, TClientTable::JournalRecovery::Outcome::None);
  EXPECT_EQ(folderNames(), (std::vector<std::string>{"Vehicle.cds"}));
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford", "Saab", "Volvo"}));
}

// A journal left by the first version names its file by time and a sample of its bytes; it still
// applies to that file.
TEST_F(TableJournalTest, AJournalOfTheFirstVersionStillApplies) {
  const std::string died = journalOfASessionThatDied();
  const auto* data = reinterpret_cast<const std::uint8_t*>(died.data());
  const JournalContents contents = decodeJournal(std::span(data, died.size()));
  JournalHeader first = contents.header;
  first.version = 1;
  const std::string file = readBytes(tableFile);
  first.legacy = legacyStampOf(
      tableFile, std::span(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()));
  std::vector<std::uint8_t> old = encodeJournalHeader(first);
  old.insert(old.end(), data + contents.headerLength, data + died.size());
  writeBytes(journalFile, std::string(old.begin(), old.end()));
  auto v = openVehicles();
  const TClientTable::JournalRecovery recovery = v->table.recoverJournal();
  EXPECT_EQ(recovery.outcome, TClientTable::JournalRecovery::Outcome::Replayed);
  EXPECT_EQ(recovery.changes, 1);
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford", "Saab", "Volvo"}));
}

// A table destroyed open whose file cannot be written (the program's end) keeps its journal.
TEST_F(TableJournalTest, ADestroyedTableWhoseWriteFailsKeepsItsJournal) {
  writeTwoVehicles();
  {
    auto v = openVehicles();
    addVehicle(*v, "Volvo", "v");
    ::chmod(tableFile.c_str(), 0444);
  }
  ::chmod(tableFile.c_str(), 0644);
  ASSERT_TRUE(std::filesystem::exists(journalFile));
  auto v = openVehicles();
  EXPECT_EQ(v->table.recoverJournal().changes, 1);
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford", "Saab", "Volvo"}));
}

TEST_F(TableJournalTest, ATableWhoseOpenFailedLeavesItsJournalAlone) {
  const std::string journal = journalOfASessionThatDied();
  writeBytes(tableFile, "damaged");
  VehicleTable v;
  v.table.setFileName(tableFile);
  v.table.setJournalFileName(journalFile);
  EXPECT_THROW(v.table.open(), TableError);
  EXPECT_EQ(v.table.recoverJournal().outcome, TClientTable::JournalRecovery::Outcome::None);
  EXPECT_TRUE(readBytes(journalFile) == journal);
}

TEST_F(TableJournalTest, AFailedWriteAtCloseKeepsTheJournal) {
  writeTwoVehicles();
  runAndDie([&] {
    auto v = openVehicles();
    addVehicle(*v, "Volvo", "v");
    ::chmod(tableFile.c_str(), 0444);
    try {
      v->table.close();
    } catch (const TableError&) {
      die();  // the close failed as it should; the process dies with the journal in place
    }
    ::_exit(5);
  });
  ::chmod(tableFile.c_str(), 0644);
  auto v = openVehicles();
  EXPECT_EQ(v->table.recoverJournal().changes, 1);
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford", "Saab", "Volvo"}));
}

// When the journal cannot take the record, the post is refused with a message naming the
// journal, and the table is as it was before the post (still in insert state, no number used).
TEST_F(TableJournalTest, AJournalThatCannotBeWrittenRefusesThePost) {
  writeTwoVehicles();
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // A file size limit that the header fits under but a photo does not.
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
      4096, 4096
    };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    auto v = openVehicles();
    addVehicle(*v, "Volvo", "small");
    v->table.insert();
    v->make.setAsString("Audi");
    v->photo.setAsString(std::string(20000, 'x'));
    std::string message;
    try {
      v->table.post();
    } catch (const TableError& failure) {
      message = failure.what();
    }
    bool refused =
        message.find("tblVehicle: Cannot write the change journal " + journalFile) == 0 &&
        message.find("File too large") != std::string::npos;
    bool unchanged = v->table.State() == DataSetState::Insert && v->table.autoIncValue() == 4 &&
                     v->table.changeCount() == 1;
    v->table.cancel();
    bool journalIntact = decodeJournal(*readJournalFile(journalFile)).records.size() == 1 &&
                         readJournalFile(journalFile)->size() ==
                             decodeJournal(*readJournalFile(journalFile)).validLength;
    ::_exit(refused ? (unchanged ? (journalIntact ? 0 : 12) : 11) : 10);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0)
      << "10: not refused with the journal's message, 11: table changed, "
         "12: journal holds a partial record";
}

TEST_F(TableJournalTest, AJournalThatCannotBeCreatedRefusesTheFirstPost) {
  journalFile = folder.file("gone/Vehicle.journal");  // its folder does not exist
  auto v = openVehicles();
  v->table.insert();
  v->make.setAsString("Saab");
  EXPECT_THROW(v->table.post(), TableError);
  EXPECT_EQ(v->table.State(), DataSetState::Insert);
  EXPECT_EQ(v->table.recordCount(), 0);
  v->table.cancel();
}

// The program's tables, linked master to detail: a recovered service belongs to its recovered
// vehicle and shows in that vehicle's range.
TEST_F(TableJournalTest, MastersAndDetailsComeBackLinked) {
  auto openModule = [&] {
    auto* dm = new TDataModule1();
    for (auto [table, name] :
         {std::pair{&dm->tblVehicle, "Vehicle"}, std::pair{&dm->tblService, "Service"}}) {
      table->setFileName(folder.file(std::string(name) + ".cds"));
      table->setJournalFileName(folder.file(std::string(name) + ".journal"));
      table->createDataSet();
      table->setLogChanges(false);
    }
    return dm;
  };
  runAndDie([&] {
    TDataModule1* dm = openModule();
    for (const char* make : {"Saab", "Audi"}) {
      dm->tblVehicle.insert();
      dm->tblVehicleVehicleMake->setAsString(make);
      dm->tblVehicle.post();
      dm->tblService.insert();  // takes the new vehicle's number from the master
      dm->tblServiceServiceDescription->setAsString(std::string("service of ") + make);
      dm->tblService.post();
    }
    die();
  });
  std::unique_ptr<TDataModule1> dm(openModule());
  EXPECT_EQ(dm->tblVehicle.recoverJournal().changes, 2);
  EXPECT_EQ(dm->tblService.recoverJournal().changes, 2);
  dm->tblVehicle.first();
  EXPECT_EQ(dm->tblVehicleVehicleMake->AsString(), "Audi");
  ASSERT_EQ(dm->tblService.recordCount(), 1);
  EXPECT_EQ(dm->tblServiceServiceDescription->AsString(), "service of Audi");
  EXPECT_EQ(dm->tblServiceVehicleNumber->AsInteger(), 2);
  dm->tblVehicle.next();
  ASSERT_EQ(dm->tblService.recordCount(), 1);
  EXPECT_EQ(dm->tblServiceServiceDescription->AsString(), "service of Saab");
  for (TClientTable* t : {&dm->tblService, &dm->tblVehicle}) t->setFileName(std::string());
}

// Makes a folder read-only or writable again: by its permissions for a normal user, by the
// immutable flag for root (whom permissions do not stop). False when neither is possible here.
bool setReadOnly(const std::filesystem::path& folder, bool readOnly) {
  if (::geteuid() != 0) return ::chmod(folder.c_str(), readOnly ? 0555 : 0755) == 0;
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = readOnly ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return done;
}

TEST_F(TableJournalTest, AReadOnlyFolderRefusesThePostAndLeavesTheTableAsItWas) {
  writeTwoVehicles();
  auto v = openVehicles();
  if (!setReadOnly(folder.path(), true))
    GTEST_SKIP() << "this file system cannot make a folder read-only";
  v->table.insert();
  v->make.setAsString("Volvo");
  std::string message;
  try {
    v->table.post();
  } catch (const TableError& failure) {
    message = failure.what();
  }
  setReadOnly(folder.path(), false);
  EXPECT_EQ(message.rfind("tblVehicle: Cannot write the change journal " + journalFile + ": ", 0),
            0u)
      << message;
  EXPECT_EQ(v->table.State(), DataSetState::Insert);
  EXPECT_EQ(v->table.autoIncValue(), 3);
  EXPECT_EQ(v->table.changeCount(), 0);
  v->table.cancel();
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford", "Saab"}));
  EXPECT_FALSE(std::filesystem::exists(journalFile));
  // With the folder writable again, the same post goes through.
  addVehicle(*v, "Volvo", "v");
  EXPECT_EQ(v->makes(), (std::vector<std::string>{"Ford", "Saab", "Volvo"}));
}

// ---- one program per Data folder ----

TEST(DataFolderLock, OneHolderAtATimeAndNoFolderIsMade) {
  ScratchFolder folder;
  {
    DataFolderLock first(folder.path().string());
    EXPECT_EQ(first.outcome(), DataFolderLock::Outcome::Held);
    DataFolderLock second(folder.path().string());
    EXPECT_EQ(second.outcome(), DataFolderLock::Outcome::InUse);
  }
  DataFolderLock afterwards(folder.path().string());
  EXPECT_EQ(afterwards.outcome(), DataFolderLock::Outcome::Held);

  const std::string missing = folder.file("Data");
  DataFolderLock none(missing);
  EXPECT_EQ(none.outcome(), DataFolderLock::Outcome::NoFolder);
  EXPECT_FALSE(std::filesystem::exists(missing));
}

// Two programs started at the same moment: exactly one of them gets the folder.
TEST(DataFolderLock, OfTwoStartedAtOnceOneHoldsTheFolder) {
  ScratchFolder folder;
  int go[2];
  ASSERT_EQ(::pipe(go), 0);
  std::vector<pid_t> children;
  for (int i = 0; i < 2; ++i) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      char c;
      ::close(go[1]);
      if (::read(go[0], &c, 1) != 0) ::_exit(9);  // both wait until the pipe closes
      DataFolderLock lock(folder.path().string());
      ::usleep(300000);  // hold it while the other one tries
      ::_exit(lock.outcome() == DataFolderLock::Outcome::Held ? 0 : 1);
    }
    children.push_back(pid);
  }
  ::close(go[0]);
  ::close(go[1]);
  int held = 0;
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    held += WEXITSTATUS(status) == 0;
  }
  EXPECT_EQ(held, 1);
}

// A lock that cannot be made is told apart from one held by another program, with the reason:
// a lock file another user owns and keeps from us, or a lock file path that cannot be opened.
TEST(DataFolderLock, ALockFileThatCannotBeOpenedIsUnavailableWithItsReason) {
  ScratchFolder folder;
  const std::string lock = folder.file(".lock");
  ::symlink("missing-folder/.lock", lock.c_str());
  DataFolderLock dangling(folder.path().string());
  EXPECT_EQ(dangling.outcome(), DataFolderLock::Outcome::Unavailable);
  EXPECT_EQ(dangling.reason(), "No such file or directory");
  EXPECT_EQ(dangling.path(), lock);
  std::filesystem::remove(lock);

  // Mode 000, owned by someone else: as an unprivileged user (root reads any file).
  ::close(::open(lock.c_str(), O_CREAT | O_WRONLY, 0000));
  ::chmod(lock.c_str(), 0000);
  ::chmod(folder.path().c_str(), 0755);
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(9);
    DataFolderLock other(folder.path().string());
    ::_exit(other.outcome() == DataFolderLock::Outcome::Unavailable &&
                    other.reason() == "Permission denied"
                ? 0
                : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_NE(WEXITSTATUS(status), 9) << "no unprivileged user to run as";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "an unopenable lock file was not refused";
}

// The program's lock: the Data folder's, and one beside the program that keeps copies apart
// while the folder is missing and after it was made.
TEST(ProgramLock, TwoCopiesNeverRunOnOneDataFolder) {
  ScratchFolder program;
  const std::string folder = program.path().string() + "/";
  using Refusal = ProgramLock::Refusal;
  {
    ProgramLock first(folder);
    EXPECT_EQ(first.refusal(), Refusal::None);
    EXPECT_TRUE(first.dataFolderMissing());
    EXPECT_EQ(first.dataFolder(), folder + "Data");
    EXPECT_EQ(ProgramLock(folder).refusal(), Refusal::InUse) << "both on a missing folder";
    EXPECT_FALSE(std::filesystem::exists(folder + "Data")) << "the folder is never made";
    std::filesystem::create_directory(folder + "Data");
    EXPECT_EQ(ProgramLock(folder).refusal(), Refusal::InUse) << "the folder made meanwhile";
  }
  {
    ProgramLock first(folder);
    EXPECT_EQ(first.refusal(), Refusal::None);
    EXPECT_FALSE(first.dataFolderMissing());
    EXPECT_EQ(ProgramLock(folder).refusal(), Refusal::InUse);
  }
  // The Data folder's lock cannot be made: refused, naming the lock file and the reason.
  std::filesystem::remove(folder + "Data/.lock");
  ::symlink("nowhere/.lock", (folder + "Data/.lock").c_str());
  ProgramLock refused(folder);
  EXPECT_EQ(refused.refusal(), Refusal::Unavailable);
  EXPECT_EQ(refused.lockPath(), folder + "Data/.lock");
  EXPECT_EQ(refused.reason(), "No such file or directory");
  std::filesystem::remove(folder + "Data/.lock");
  // Without a Data folder the lock beside the program is the only one: it must be made.
  std::filesystem::remove(folder + "Data");
  std::filesystem::remove(folder + ProgramLock::kProgramLockName);
  ::symlink("nowhere/x", (folder + ProgramLock::kProgramLockName).c_str());
  ProgramLock alone(folder);
  EXPECT_EQ(alone.refusal(), Refusal::Unavailable);
  EXPECT_EQ(alone.lockPath(), folder + ProgramLock::kProgramLockName);
}

// The lock dies with its process, however it ends.
TEST(DataFolderLock, AKilledHolderLeavesNoStaleLock) {
  ScratchFolder folder;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    DataFolderLock lock(folder.path().string());
    char c = lock.outcome() == DataFolderLock::Outcome::Held ? 'y' : 'n';
    if (::write(ready[1], &c, 1) != 1) ::_exit(1);
    ::pause();
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  EXPECT_EQ(DataFolderLock(folder.path().string()).outcome(), DataFolderLock::Outcome::InUse);
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  EXPECT_EQ(DataFolderLock(folder.path().string()).outcome(), DataFolderLock::Outcome::Held);
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace wf::test
