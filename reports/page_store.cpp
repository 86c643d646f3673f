#include "reports/page_store.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>

namespace wf {

namespace {
constexpr qint64 kCopyChunk = 1 << 16;

std::unique_ptr<QIODevice> openBuffer(const QByteArray& bytes, QIODevice::OpenMode mode) {
  auto buffer = std::make_unique<QBuffer>();
  buffer->setData(bytes);
  buffer->open(mode);
  return buffer;
}
}  // namespace

PageStore::PageStore() : device_(openBuffer(QByteArray(), QIODevice::ReadWrite)) {}

PageStore::~PageStore() = default;

std::unique_ptr<PageStore> PageStore::openFile(const QString& path) {
  auto file = std::make_unique<QFile>(path);
  if (!file->exists()) throw PreparedReportError(QStringLiteral("File does not exist"));
  if (!file->open(QIODevice::ReadOnly)) {
    throw PreparedReportError(QStringLiteral("Cannot open %1: %2").arg(path, file->errorString()));
  }
  return readFrom(std::move(file));
}

std::unique_ptr<PageStore> PageStore::fromBytes(const QByteArray& bytes) {
  return readFrom(openBuffer(bytes, QIODevice::ReadOnly));
}

std::unique_ptr<PageStore> PageStore::readFrom(std::unique_ptr<QIODevice> device) {
  auto store = std::make_unique<PageStore>();
  store->header_ = readHeader(*device);
  store->pages_ = readPageLocations(*device, store->header_);
  store->device_ = std::move(device);
  store->readOnly_ = true;
  return store;
}

void PageStore::writeAt(qint64 offset, const QByteArray& data) {
  if (!device_->seek(offset) || device_->write(data) != data.size()) {
    throw PreparedReportError(
        QStringLiteral("Cannot write the report's pages: %1").arg(device_->errorString()));
  }
}

void PageStore::moveToTemporaryFileIfLarge() {
  if (temporary_ || device_->size() <= kMemoryLimit) return;
  // QTemporaryFile replaces the run of six placeholder letters with a unique part.
  const QString name = QStringLiteral("/PRP") + QString(6, QLatin1Char('X'));
  auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + name);
  if (!file->open()) {
    throw PreparedReportError(
        QStringLiteral("Cannot create a temporary file for the report's pages"));
  }
  const QByteArray& held = static_cast<QBuffer*>(device_.get())->data();
  if (file->write(held) != held.size() || !file->flush()) {
    throw PreparedReportError(
        QStringLiteral("Cannot write the report's pages: %1").arg(file->errorString()));
  }
  temporary_ = file.get();
  device_ = std::move(file);
}

void PageStore::addPage(const QByteArray& recording) {
  std::lock_guard lock(mutex_);
  if (readOnly_) throw PreparedReportError(QStringLiteral("A loaded report takes no new pages"));
  if (pages_.empty()) {
    header_ = PreparedReportHeader();
    header_.pageCount = 1;
    writeAt(0, encodeHeader(1, QDateTime::currentDateTime()));
  }
  const qint64 start = device_->size();
  const int32_t number = int32_t(pages_.size() + 1);
  writeAt(start, encodePageRecord(number, start, recording));
  pages_.push_back({start, start + 8, recording.size()});
  moveToTemporaryFileIfLarge();
}

void PageStore::finish() {
  std::lock_guard lock(mutex_);
  if (readOnly_ || pages_.empty()) return;
  header_.pageCount = uint32_t(pages_.size());
  writeAt(0, encodeHeader(header_.pageCount, QDateTime::currentDateTime()));
  if (temporary_) temporary_->flush();
}

int PageStore::pageCount() const {
  std::lock_guard lock(mutex_);
  return int(pages_.size());
}

QByteArray PageStore::page(int number) const {
  std::lock_guard lock(mutex_);
  if (number < 1 || size_t(number) > pages_.size()) {
    throw PreparedReportError(QStringLiteral("The report has no page %1").arg(number));
  }
  const PageRecordLocation& where = pages_[size_t(number - 1)];
  if (!device_->seek(where.pageStart)) {
    throw PreparedReportError(QStringLiteral("Cannot read page %1").arg(number));
  }
  QByteArray data = device_->read(where.pageSize);
  if (data.size() != where.pageSize) {
    throw PreparedReportError(
        QStringLiteral("Cannot read page %1: the file ends early").arg(number));
  }
  return data;
}

PreparedReportHeader PageStore::header() const {
  std::lock_guard lock(mutex_);
  return header_;
}

qint64 PageStore::size() const {
  std::lock_guard lock(mutex_);
  return device_->size();
}

QByteArray PageStore::bytes() const {
  std::lock_guard lock(mutex_);
  if (!device_->seek(0)) return QByteArray();
  return device_->readAll();
}

bool PageStore::saveTo(const QString& path) const {
  std::lock_guard lock(mutex_);
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly) || !device_->seek(0)) return false;
  while (!device_->atEnd()) {
    const QByteArray chunk = device_->read(kCopyChunk);
    if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
      out.cancelWriting();
      return false;
    }
  }
  return out.commit();
}

bool PageStore::onTemporaryFile() const {
  std::lock_guard lock(mutex_);
  return temporary_ != nullptr;
}

QString PageStore::temporaryFileName() const {
  std::lock_guard lock(mutex_);
  return temporary_ ? temporary_->fileName() : QString();
}

}  // namespace wf
