// The pages of one report as a prepared-report byte stream: in memory while small, moved into
// a temporary file ("PRP..." in the system's temporary folder) once it passes 100000 bytes,
// and removed with the store. Every access takes the store's lock, so the store may be read
// while another thread writes it.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

#include "reports/prepared_report_file.h"

class QIODevice;
class QTemporaryFile;

namespace wf {

class PageStore {
 public:
  static constexpr qint64 kMemoryLimit = 100000;

  // An empty store in memory.
  PageStore();
  ~PageStore();
  PageStore(const PageStore&) = delete;
  PageStore& operator=(const PageStore&) = delete;

  // A store over an existing prepared-report file, opened for reading. The header and the chain
  // of page records are checked first; throws PreparedReportError when the file does not exist,
  // cannot be read or is damaged.
  static std::unique_ptr<PageStore> openFile(const QString& path);
  // The same over bytes held in memory (a file's content).
  static std::unique_ptr<PageStore> fromBytes(const QByteArray& bytes);

  // Appends a finished page. The header is written with the first page (page count 1).
  void addPage(const QByteArray& recording);
  // Writes the header again with the final page count and a fresh creation time.
  void finish();

  int pageCount() const;
  // Recording of page number (from 1); throws PreparedReportError when out of range or
  // unreadable.
  QByteArray page(int number) const;
  PreparedReportHeader header() const;

  qint64 size() const;
  // The whole stream, byte for byte.
  QByteArray bytes() const;
  // Copies the whole stream into path, replacing the file. False when it cannot be written;
  // an existing file is then left as it was.
  bool saveTo(const QString& path) const;

  bool onTemporaryFile() const;
  QString temporaryFileName() const;

 private:
  // A read-only store over device, opened for reading; its header and records checked.
  static std::unique_ptr<PageStore> readFrom(std::unique_ptr<QIODevice> device);
  void writeAt(qint64 offset, const QByteArray& data);
  void moveToTemporaryFileIfLarge();

  mutable std::mutex mutex_;
  std::unique_ptr<QIODevice> device_;
  QTemporaryFile* temporary_ = nullptr;  // device_ when the store moved to a temporary file
  bool readOnly_ = false;
  PreparedReportHeader header_;
  std::vector<PageRecordLocation> pages_;
};

}  // namespace wf
