// A failed write at close keeps both the old file and the table's records.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include <algorithm>

#include "store/table_error.h"
#include "store/table_file.h"
#include "store/table_identity.h"
#include "table_fixture.h"

namespace wf::test {
namespace {

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class TableFileTest : public ::testing::Test {
 protected:
  void SetUp() override { useTestLocale(); }

  // Opens the vehicle file (made with two records when asked), adds a third record.
  void openAndChange(const std::string& path, bool existing) {
    if (existing) {
      VehicleTable writer;
      writer.table.setFileName(path);
      writer.table.createDataSet();
      writer.add("Audi");
      writer.add("BMW");
      writer.table.close();
      v.table.setFileName(path);
      v.table.open();
    } else {
      v.table.setFileName(path);
      v.table.createDataSet();
    }
    v.table.AfterClose = [this](TClientTable&) { ++afterCloseRuns; };
    v.add("Citroen");
  }

  void expectStillOpen(int records, int changes) {
    EXPECT_TRUE(v.table.Active());
    EXPECT_EQ(v.table.State(), DataSetState::Browse);
    EXPECT_EQ(v.table.recordCount(), records);
    EXPECT_EQ(v.table.changeCount(), changes);
    EXPECT_EQ(afterCloseRuns, 0);
  }

  std::string closeFailure() {
    try {
      v.table.close();
    } catch (const TableError& e) {
      return e.what();
    }
    return "<no failure>";
  }

  ScratchFolder folder;
  VehicleTable v;
  int afterCloseRuns = 0;
};

TEST_F(TableFileTest, MissingFolderKeepsTheTableOpenUntilTheWriteSucceeds) {
  std::string path = folder.file("Data/Vehicle.cds");
  openAndChange(path, false);
  v.table.edit();
  v.make.setAsString("Dacia");  // a pending edit is dropped by close, as always
  EXPECT_EQ(closeFailure(), "Cannot create file " + path);
  expectStillOpen(1, 1);
  EXPECT_EQ(v.make.AsString(), "Citroen");

  std::filesystem::create_directory(folder.file("Data"));
  v.table.close();  // the next try writes everything
  EXPECT_FALSE(v.table.Active());
  EXPECT_EQ(afterCloseRuns, 1);
  v.table.open();
  EXPECT_EQ(v.makes(), std::vector<std::string>{"Citroen"});
}

TEST_F(TableFileTest, ReadOnlyFileStaysByteIdentical) {
  std::string path = folder.file("Vehicle.cds");
  openAndChange(path, true);
  std::string before = readBytes(path);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_EQ(closeFailure(), "Cannot create file " + path);
  expectStillOpen(3, 1);
  EXPECT_EQ(readBytes(path), before);
  EXPECT_EQ(folderEntries(folder.path()),
            std::vector<std::string>{"Vehicle.cds"});  // no temporary left

  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  v.table.close();
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);  // the new file keeps the old one's permissions
  v.table.open();
  EXPECT_EQ(v.makes(), (std::vector<std::string>{"Audi", "BMW", "Citroen"}));
}

TEST_F(TableFileTest, FolderAtTheFileNameIsNotReplaced) {
  std::string path = folder.file("Vehicle.cds");
  openAndChange(path, false);
  std::filesystem::create_directory(path);
  writeBytes(path + "/keep", "x");
  EXPECT_EQ(closeFailure(), "Cannot create file " + path);
  expectStillOpen(1, 1);
  EXPECT_EQ(readBytes(path + "/keep"), "x");
  EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"Vehicle.cds"});
}

TEST_F(TableFileTest, DestroyingATableWhoseWriteFailsLeavesTheOldFile) {
  std::string path = folder.file("Vehicle.cds");
  std::string before;
  {
    VehicleTable doomed;
    VehicleTable writer;
    writer.table.setFileName(path);
    writer.table.createDataSet();
    writer.add("Audi");
    writer.table.close();
    before = readBytes(path);
    doomed.table.setFileName(path);
    doomed.table.open();
    doomed.add("BMW");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  }
  EXPECT_EQ(readBytes(path), before);
}

// Lowers the largest file size this process may write, as a full disk would stop a write partway;
// a write past it fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int);
};

TEST_F(TableFileTest, WriteFailingPartwayKeepsOldFileAndRecords) {
  std::string path = folder.file("Vehicle.cds");
  openAndChange(path, true);
  for (int i = 0; i < 80; ++i) {  // about 8 MB: several chunks, so the failure comes mid-file
    v.table.insert();
    v.make.setAsString("Photo " + std::to_string(i));
    v.photo.setAsString(std::string(100'000, char('a' + i % 26)));
    v.table.post();
  }
  std::string before = readBytes(path);
  {
    FileSizeLimit limit(6'000'000);  // past the first chunk
    EXPECT_EQ(closeFailure(), std::strerror(EFBIG));
  }
  expectStillOpen(83, 81);
  EXPECT_EQ(readBytes(path), before);
  EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"Vehicle.cds"});

  v.table.close();
  v.table.open();
  EXPECT_EQ(v.table.recordCount(), 83);
  v.table.last();
  EXPECT_EQ(v.photo.AsString(), std::string(100'000, 'j'));  // "Photo 9" sorts last
}

TEST_F(TableFileTest, ProducerFailingPartwayLeavesNoTrace) {
  std::string path = folder.file("t.cds");
  writeTableFile(path, {1, 2, 3});
  const std::vector<unsigned char> half(100'000, 7);
  EXPECT_THROW(streamTableFile(path,
                               [&](ByteSink& sink) {
                                 sink.append(half.data(), half.size());
                                 throw std::runtime_error("encoding failed");
                               }),
               std::runtime_error);
  EXPECT_EQ(readTableFile(path), (std::vector<unsigned char>{1, 2, 3}));
  EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"t.cds"});
}

// A write killed halfway leaves its temporary file under a name only this program makes; the
// next start removes exactly those, never a file of the user's beside the table.
TEST_F(TableFileTest, AWriteKilledHalfwayLeavesATemporaryFileTheNextStartRemoves) {
  const std::string path = folder.file("Vehicle.cds");
  writeTableFile(path, {1, 2, 3});
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    streamTableFile(path, [](ByteSink& sink) {
      const std::vector<unsigned char> half(100'000, 7);
      sink.append(half.data(), half.size());
      ::kill(::getpid(), SIGKILL);
    });
    ::_exit(3);
  }
  ::waitpid(pid, nullptr, 0);
  std::vector<std::string> left = folderEntries(folder.path());
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[1].rfind(std::string("Vehicle.cds") + kTableWriteSuffix, 0), 0u) << left[1];

  const std::string suffix = kTableWriteSuffix;
  for (const std::string& mine : std::vector<std::string>{
           "Vehicle.cds.backup", "Vehicle.cds.old", "Service.cds" + suffix + "a1B2c3",
           "Vehicle.cds" + suffix + "a1B2c", "Vehicle.cds" + suffix + "a1B2c3d",
           "Vehicle.cds" + suffix + "a1B-c3"})
    writeBytes(folder.file(mine), "the user's own");
  std::filesystem::create_directory(folder.file("Vehicle.cds" + suffix + "folder"));
  EXPECT_EQ(removeStaleTableWrites(path), 1);
  const std::vector<std::string> kept = folderEntries(folder.path());
  EXPECT_EQ(kept.size(), 8u);
  EXPECT_EQ(std::count(kept.begin(), kept.end(), left[1]), 0);
  EXPECT_EQ(readTableFile(path), (std::vector<unsigned char>{1, 2, 3}));
}

// The identity handed over just before the rename is the new file's, and a failure there keeps
// the old file.
TEST_F(TableFileTest, TheNewFileIsIdentifiedBeforeItReplacesTheOldOne) {
  const std::string path = folder.file("t.cds");
  writeTableFile(path, {1, 2, 3});
  TableFileIdentity told;
  writeTableFile(path, {4, 5, 6, 7});
  streamTableFile(
      path, [](ByteSink& sink) { sink.append(reinterpret_cast<const uint8_t*>("abcdef"), 6); },
      [&](const TableFileIdentity& newFile) { told = newFile; });
  EXPECT_EQ(told, identifyTableFile(path));
  EXPECT_EQ(told.size, 6u);
  EXPECT_THROW(
      streamTableFile(
          path, [](ByteSink& sink) { sink.append(reinterpret_cast<const uint8_t*>("x"), 1); },
          [](const TableFileIdentity&) { throw TableError("journal full"); }),
      TableError);
  EXPECT_EQ(readTableFile(path)->size(), 6u);
  EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"t.cds"});
}

TEST_F(TableFileTest, ReadingAndReplacingWholeFiles) {
  std::string path = folder.file("t.cds");
  EXPECT_FALSE(readTableFile(path).has_value());
  writeTableFile(path, {1, 2, 3});
  EXPECT_EQ(readTableFile(path), (std::vector<unsigned char>{1, 2, 3}));
  writeTableFile(path, {});
  EXPECT_EQ(readTableFile(path), std::vector<unsigned char>{});
  EXPECT_FALSE(readTableFile(folder.file("missing/t.cds")).has_value());
}

TEST_F(TableFileTest, MappedFileShowsTheContentAndOutlivesItsReplacement) {
  std::string path = folder.file("t.cds");
  EXPECT_EQ(MappedTableFile::open(path), nullptr);
  EXPECT_EQ(MappedTableFile::open(folder.file("missing/t.cds")), nullptr);

  std::vector<unsigned char> content(300'000);
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<unsigned char>(i * 7);
  writeTableFile(path, content);
  std::unique_ptr<MappedTableFile> mapped = MappedTableFile::open(path);
  ASSERT_NE(mapped, nullptr);
  EXPECT_TRUE(std::ranges::equal(mapped->bytes(), content));

  // A table written meanwhile replaces the file; the reader keeps the content it opened.
  writeTableFile(path, {1, 2, 3});
  EXPECT_TRUE(std::ranges::equal(mapped->bytes(), content));
  EXPECT_TRUE(std::ranges::equal(MappedTableFile::open(path)->bytes(),
                                 std::vector<unsigned char>{1, 2, 3}));

  writeTableFile(path, {});
  EXPECT_TRUE(MappedTableFile::open(path)->bytes().empty());

  std::filesystem::create_directory(folder.file("dir.cds"));
  EXPECT_THROW(MappedTableFile::open(folder.file("dir.cds")), TableError);
}

}  // namespace
}  // namespace wf::test
