// The page store keeps pages in memory up to 100000 bytes, then in a temporary "PRP" file in
// the system temporary folder that goes away with the store.
#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <thread>

#include "reports/page_store.h"
#include "support/sample_page.h"

namespace wf {
namespace {

TEST(PageStore, StaysInMemoryUpToTheLimitThenMovesToATemporaryFile) {
  const QByteArray page = recordSamplePage();
  ASSERT_GT(page.size(), 5000);
  auto store = std::make_unique<PageStore>();
  int added = 0;
  while (store->size() + page.size() + 12 <= PageStore::kMemoryLimit) {
    store->addPage(page);
    ++added;
  }
  EXPECT_FALSE(store->onTemporaryFile()) << store->size();
  const QByteArray inMemory = store->bytes();

  store->addPage(page);  // now past 100000 bytes
  ++added;
  ASSERT_TRUE(store->onTemporaryFile());
  const QFileInfo file(store->temporaryFileName());
  EXPECT_TRUE(file.exists());
  EXPECT_TRUE(file.fileName().startsWith(QStringLiteral("PRP")));
  EXPECT_EQ(file.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
  EXPECT_EQ(file.size(), store->size());

  // Everything written before the move is still there, and reading and writing go on.
  EXPECT_TRUE(store->bytes().startsWith(inMemory));
  store->addPage(page);
  store->finish();
  EXPECT_EQ(store->pageCount(), added + 1);
  EXPECT_EQ(store->page(1), page);
  EXPECT_EQ(store->page(added + 1), page);
  EXPECT_EQ(PageStore::fromBytes(store->bytes())->pageCount(), added + 1);

  const QString path = file.absoluteFilePath();
  store.reset();
  EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(PageStore, PagesCanBeReadWhileAnotherThreadWrites) {
  PageStore store;
  const QByteArray page = recordSamplePage();
  store.addPage(page);
  // The writer starts once the reader is reading, so the two always overlap.
  std::atomic<bool> reading = false;
  std::thread writer([&] {
    while (!reading) std::this_thread::yield();
    for (int i = 0; i < 40; ++i) store.addPage(page);
  });
  int reads = 0;
  while (store.pageCount() < 41) {
    EXPECT_EQ(store.page(store.pageCount()), page);
    ++reads;
    reading = true;
  }
  writer.join();
  EXPECT_GT(reads, 0);
  EXPECT_TRUE(store.onTemporaryFile());
  EXPECT_EQ(store.page(41), page);
}

TEST(PageStore, AskingForAPageItDoesNotHoldFails) {
  PageStore store;
  store.addPage(recordSamplePage());
  EXPECT_THROW(store.page(0), PreparedReportError);
  EXPECT_THROW(store.page(2), PreparedReportError);
}

}  // namespace
}  // namespace wf
