// Start-up after a Wrenfold that did not end with Exit: the journal beside a table file is
// applied and reported in one information box; a journal of another file is set aside and
// named in one box; nothing is recovered twice.
#include "app/app_instances.h"
#include "app/frm_main.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "program_fixture.h"
#include "store/data_module.h"
#include "store/journal_format.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace wf {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A file's bytes and modification time, put back as they were: what a table file looks like
// when the program died before Exit wrote it.
struct FileSnapshot {
  explicit FileSnapshot(const std::string& path) : path(path), bytes(readFile(path)) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    modified = info.st_mtim;
  }
  void restore() const {
    writeFile(path, bytes);
    const struct timespec times[2] = {modified, modified};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
  }
  std::string path;
  std::string bytes;
  struct timespec modified {};
};

class JournalRecovery : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    makeDataFolder();
  }
};

TEST_F(JournalRecovery, ChangesOfASessionThatDiedAreBackAfterOneBoxAndOnlyOnce) {
  start();
  addVehicle("Saab");
  frmMain->btnExitClick();
  stop();
  const FileSnapshot vehicleFile(dataFile("Vehicle.cds"));

  // A session adds a vehicle and "dies": its journal stays, the table file is as it was.
  start();
  addVehicle("Volvo");
  const std::string journal = readFile(dataFile("Vehicle.journal"));
  stop();
  vehicleFile.restore();
  writeFile(dataFile("Vehicle.journal"), journal);

  boxes_.clear();
  start();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Information);
  EXPECT_TRUE(boxes_.boxes()[0].text.endsWith("\n1 in Vehicle.cds"))
      << boxes_.boxes()[0].text.toStdString();
  EXPECT_EQ(DataModule1->tblVehicle.recordCount(), 2);
  EXPECT_EQ(DataModule1->tblVehicle.autoIncValue(), 3);
  frmMain->btnExitClick();
  stop();
  EXPECT_FALSE(std::filesystem::exists(dataFile("Vehicle.journal")))
      << "removed once the file was written";

  // The same journal again (as if its removal had not happened) is set aside, not replayed.
  writeFile(dataFile("Vehicle.journal"), journal);
  boxes_.clear();
  start();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Information);
  EXPECT_TRUE(
      boxes_.boxes()[0].text.contains(QString::fromStdString(dataFile("Vehicle.journal.20"))))
      << boxes_.boxes()[0].text.toStdString();
  EXPECT_EQ(DataModule1->tblVehicle.recordCount(), 2);
  EXPECT_FALSE(std::filesystem::exists(dataFile("Vehicle.journal")));
}

// One damaged change in the middle of a journal: the box says what was applied, that a damaged
// change was found, how many after it were not applied, and where the journal was kept.
TEST_F(JournalRecovery, ADamagedChangeIsNamedAndTheJournalKept) {
  start();
  for (const char* make : {"Saab", "Volvo", "Audi"}) addVehicle(make);
  std::string journal = readFile(dataFile("Vehicle.journal"));
  stop();
  std::filesystem::remove(dataFile("Vehicle.cds"));  // the session died before Exit
  const JournalContents contents = decodeJournal(
      std::span(reinterpret_cast<const std::uint8_t*>(journal.data()), journal.size()));
  ASSERT_EQ(contents.records.size(), 3u);
  journal[contents.records[0].end + 12] ^= 0x20;
  writeFile(dataFile("Vehicle.journal"), journal);

  boxes_.clear();
  start();
  ASSERT_EQ(boxes_.boxes().size(), 1u);
  const QString text = boxes_.boxes()[0].text;
  EXPECT_TRUE(text.contains("\n1 in Vehicle.cds\n")) << text.toStdString();
  EXPECT_TRUE(
      text.contains("Vehicle.journal: a damaged change was found; 1 change after it not "
                    "applied. The journal as it was found is kept as " +
                    QString::fromStdString(dataFile("Vehicle.journal.20"))))
      << text.toStdString();
  EXPECT_EQ(DataModule1->tblVehicle.recordCount(), 1);
  std::vector<std::string> kept;
  for (const auto& entry : std::filesystem::directory_iterator(folder_ + "Data"))
    if (entry.path().filename().string().rfind("Vehicle.journal.20", 0) == 0)
      kept.push_back(entry.path().string());
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(readFile(kept[0]), journal);
}

// A write that a kill cut short left its temporary file; the next start removes it, and only it.
TEST_F(JournalRecovery, TemporaryFilesOfCutShortWritesAreRemovedAtStart) {
  const std::string stale = dataFile("Service.cds.wrenfold-write-Ab12Cd");
  writeFile(stale, std::string(1000, 'x'));
  writeFile(dataFile("Vehicle.cds.backup"), "the user's own copy");
  start();
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_EQ(readFile(dataFile("Vehicle.cds.backup")), "the user's own copy");
}

TEST_F(JournalRecovery, WithoutADataFolderNothingIsJournaledOrCreated) {
  QDir(dir_.path()).rmdir("Data");
  start();
  addVehicle("Lada");
  EXPECT_FALSE(std::filesystem::exists(folder_ + "Data"));
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST(DataFolderInUse, TheBoxesNameTheFolderAndWhatIsWrong) {
  const QString text = dataFolderInUseText("/home/me/wrenfold/Data");
  EXPECT_TRUE(
      text.startsWith("The Data folder /home/me/wrenfold/Data is in use by another Wrenfold."))
      << text.toStdString();
  const QString unlockable = dataFolderUnlockableText(
      "/home/me/wrenfold/Data", "/home/me/wrenfold/Data/.lock", "Permission denied");
  EXPECT_TRUE(
      unlockable.startsWith("Wrenfold cannot lock the Data folder /home/me/wrenfold/Data: "
                            "/home/me/wrenfold/Data/.lock (Permission denied)."))
      << unlockable.toStdString();
  const QString missing = dataFolderMissingText("/home/me/wrenfold/Data");
  EXPECT_TRUE(
      missing.startsWith("The Data folder /home/me/wrenfold/Data does not exist. Nothing "
                         "you enter is kept until it exists"))
      << missing.toStdString();
}

}  // namespace
}  // namespace wf
