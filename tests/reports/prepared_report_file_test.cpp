// Prepared-report files: header fields, page record offsets, save and load round trips, the
// older 124-byte header, and damaged files refused with a clear message.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <bit>
#include <functional>

#include "reports/emf_format.h"
#include "reports/page_store.h"
#include "reports/prepared_report_file.h"
#include "store/byte_coding.h"
#include "support/sample_page.h"

namespace wf {
namespace {

// Three distinct pages in a finished store.
class PreparedReportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    pages_ = {recordFilledPage(QRect(10, 10, 50, 50), Qt::black), recordSamplePage(),
              recordFilledPage(QRect(30, 30, 5, 5), Qt::red)};
    for (const QByteArray& page : pages_) store_.addPage(page);
    store_.finish();
    bytes_ = store_.bytes();
  }

  // Opens damaged bytes and returns the error text ("" when accepted).
  static std::string refusal(const QByteArray& bytes) {
    try {
      const auto store = PageStore::fromBytes(bytes);
      for (int n = 1; n <= store->pageCount(); ++n) store->page(n);
      return "";
    } catch (const PreparedReportError& error) {
      return error.what();
    }
  }

  std::vector<QByteArray> pages_;
  PageStore store_;
  QByteArray bytes_;
};

TEST_F(PreparedReportFile, HeaderFields) {
  const char* p = bytes_.constData();
  EXPECT_EQ(coding::decodeFixed16(p), 3);
  EXPECT_EQ(coding::decodeFixed16(p + 2), 309);
  EXPECT_EQ(coding::decodeFixed32(p + 8), 3u);
  EXPECT_EQ(p[25], 0);  // not compressed
  // Creation time: days since 30 December 1899, now.
  const double now = QDate(1899, 12, 30).daysTo(QDate::currentDate()) +
                     QTime::currentTime().msecsSinceStartOfDay() / 86400000.0;
  const double created = std::bit_cast<double>(coding::decodeFixed64(p + 16));
  EXPECT_NEAR(created, now, 1.0 / 24);
  EXPECT_GT(created - std::floor(created), -1e-9);
  // Reserved and unwritten fields stay zero.
  for (int offset : {4, 5, 6, 7, 12, 13, 14, 15, 24, 26, 60, 127}) {
    EXPECT_EQ(p[offset], 0) << offset;
  }
}

TEST_F(PreparedReportFile, PageRecordsLinkForwardAndBackward) {
  qsizetype offset = 128;
  for (size_t i = 0; i < pages_.size(); ++i) {
    const char* rec = bytes_.constData() + offset;
    EXPECT_EQ(coding::decodeFixedI32(rec), int32_t(i + 1));
    const uint32_t next = coding::decodeFixed32(rec + 4);
    EXPECT_EQ(next, offset + 8 + pages_[i].size() + 4);
    EXPECT_EQ(bytes_.mid(offset + 8, pages_[i].size()), pages_[i]);
    EXPECT_EQ(coding::decodeFixed32(bytes_.constData() + next - 4), uint32_t(offset));
    // The EMF signature of page 1 lies at byte 176 (177 counted from 1).
    if (i == 0) {
      EXPECT_EQ(coding::decodeFixed32(bytes_.constData() + 176), emf::kSignature);
    }
    offset = next;
  }
  EXPECT_EQ(offset, bytes_.size());
  // The last page is found through the last 4 bytes of the file.
  const uint32_t last = coding::decodeFixed32(bytes_.constData() + bytes_.size() - 4);
  EXPECT_EQ(coding::decodeFixedI32(bytes_.constData() + last), 3);
}

TEST_F(PreparedReportFile, FirstHeaderSaysOnePageUntilTheDocumentEnds) {
  PageStore unfinished;
  unfinished.addPage(pages_[0]);
  unfinished.addPage(pages_[1]);
  EXPECT_EQ(coding::decodeFixed32(unfinished.bytes().constData() + 8), 1u);
  unfinished.finish();
  EXPECT_EQ(coding::decodeFixed32(unfinished.bytes().constData() + 8), 2u);
}

TEST_F(PreparedReportFile, SavedFileLoadsWithTheSamePages) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.PRP"));
  {
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write(QByteArray(500000, 'x'));  // replaced without a question
  }
  ASSERT_TRUE(store_.saveTo(path));
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), bytes_);

  const auto loaded = PageStore::openFile(path);
  ASSERT_EQ(loaded->pageCount(), 3);
  for (int n = 1; n <= 3; ++n) {
    EXPECT_EQ(loaded->page(n), pages_[size_t(n - 1)]);
  }
}

TEST_F(PreparedReportFile, OlderHeaderOf124BytesIsRead) {
  // The older header: count @8, time @12, compression @21; pages start at 124 and record
  // offsets are 4 smaller.
  QByteArray old(124, '\0');
  old[0] = 2;
  coding::encodeFixed32(old.data() + 8, 3);
  const double created = 45000.5;
  coding::encodeFixed64(old.data() + 12, std::bit_cast<uint64_t>(created));
  qsizetype offset = 124;
  for (size_t i = 0; i < pages_.size(); ++i) {
    old.append(encodePageRecord(int32_t(i + 1), offset, pages_[i]));
    offset = old.size();
  }
  ASSERT_EQ(coding::decodeFixed32(old.constData() + 172), emf::kSignature);
  const auto store = PageStore::fromBytes(old);
  EXPECT_EQ(store->header().size, 124);
  EXPECT_DOUBLE_EQ(store->header().created, 45000.5);
  ASSERT_EQ(store->pageCount(), 3);
  EXPECT_EQ(store->page(2), pages_[1]);
  EXPECT_EQ(store->page(3), pages_[2]);
}

TEST_F(PreparedReportFile, DamagedFilesAreRefusedWithAClearMessage) {
  const qsizetype second = coding::decodeFixed32(bytes_.constData() + 128 + 4);
  struct Case {
    const char* name;
    std::function<void(QByteArray&)> damage;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"empty", [](QByteArray& d) { d.clear(); }, "not a prepared report"},
      {"header only", [](QByteArray& d) { d.truncate(128); }, "not a prepared report"},
      {"cut inside page 1", [](QByteArray& d) { d.truncate(300); }, "page 1"},
      {"cut inside the last page", [](QByteArray& d) { d.chop(9); }, "page 3"},
      {"no EMF signature", [](QByteArray& d) { d[176] = 'x'; }, "not a prepared report"},
      {"compressed pages", [](QByteArray& d) { d[25] = 1; }, "compressed"},
      {"no pages", [](QByteArray& d) { coding::encodeFixed32(d.data() + 8, 0); }, "no page"},
      {"more pages than the file holds",
       [](QByteArray& d) { coding::encodeFixed32(d.data() + 8, 0x7FFFFFFF); }, "cannot fit"},
      {"forward offset past the end",
       [](QByteArray& d) { coding::encodeFixed32(d.data() + 132, uint32_t(d.size() + 8)); },
       "next page offset"},
      {"forward offset pointing back",
       [](QByteArray& d) { coding::encodeFixed32(d.data() + 132, 130); }, "next page offset"},
      {"backward offset wrong",
       [second](QByteArray& d) { coding::encodeFixed32(d.data() + second - 4, 7); },
       "backward offset"},
      {"page numbers out of order",
       [second](QByteArray& d) { coding::encodeFixed32(d.data() + second, 5); }, "says page 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray bad = bytes_;
    c.damage(bad);
    const std::string error = refusal(bad);
    EXPECT_NE(error.find(c.message), std::string::npos) << "got: " << error;
  }
}

TEST_F(PreparedReportFile, MissingFileIsReported) {
  QTemporaryDir dir;
  try {
    PageStore::openFile(dir.filePath(QStringLiteral("none.PRP")));
    ADD_FAILURE() << "opened a file that does not exist";
  } catch (const PreparedReportError& error) {
    EXPECT_STREQ(error.what(), "File does not exist");
  }
}

}  // namespace
}  // namespace wf
