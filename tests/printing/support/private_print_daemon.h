// A printing daemon of the test's own: its configuration, spool, logs and socket live in a
// temporary folder, never the system's, and each of its queues writes every job into a PDF file
// in that folder. The process's printing clients are pointed at its socket while it runs; on
// destruction the daemon is stopped and the folder removed.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace wf::test {

struct FinishedJob {
  int id = 0;
  QString title;
  int copies = 0;
  QByteArray document;  // what the queue wrote
};

class PrivatePrintDaemon {
 public:
  // Starts the daemon; ok() tells whether it runs, error() why not.
  PrivatePrintDaemon();
  ~PrivatePrintDaemon();
  PrivatePrintDaemon(const PrivatePrintDaemon&) = delete;
  PrivatePrintDaemon& operator=(const PrivatePrintDaemon&) = delete;

  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  QString folder() const { return dir_.path(); }

  // Adds a queue whose jobs end up in <folder>/out/<name>.pdf; the first one becomes the default.
  bool addQueue(const QString& name);
  // Makes the queue refuse new jobs.
  bool rejectJobs(const QString& name);
  // Waits up to timeoutMs for the queue's newest job to be completed and returns it.
  std::optional<FinishedJob> waitForJob(const QString& queue, int afterJob, int timeoutMs = 20000);
  // Id of the newest job the daemon has seen (0: none yet).
  int newestJobId() const;
  // The daemon still runs (it must not have died on the way).
  bool running() const { return daemon_.state() == QProcess::Running; }

 private:
  bool run(const QString& program, const QStringList& arguments);
  QString outputFile(const QString& queue) const;

  QTemporaryDir dir_;
  QProcess daemon_;
  QString error_;
  bool haveDefault_ = false;
  QByteArray savedServer_;
};

// Text and page figures of a PDF, read with the poppler tools.
struct PdfFacts {
  int pages = 0;
  QString pageSize;  // as pdfinfo prints it, for example "595.276 x 841.89 pts (A4)"
  QString text;
};
PdfFacts readPdf(const QByteArray& document);

}  // namespace wf::test
