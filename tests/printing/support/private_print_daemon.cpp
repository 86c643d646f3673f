#include "support/private_print_daemon.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThread>

#include <cups/cups.h>
#include <unistd.h>

#include <cstdlib>

namespace wf::test {

namespace {

bool writeFile(const QString& path, const QByteArray& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// A queue description that hands PDF through unchanged: the daemon's pass-through filter takes
// the job's document and the file device receives it as it was printed.
const char kPassThroughPpd[] = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "WFQUEUE.PPD"
*Manufacturer: "Wrenfold"
*Product: "(File Queue)"
*ModelName: "Wrenfold file queue"
*ShortNickName: "Wrenfold file queue"
*NickName: "Wrenfold file queue"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsFilter2: "application/pdf application/vnd.cups-pdf 0 gziptoany"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)ppd";

}  // namespace

PrivatePrintDaemon::PrivatePrintDaemon()
    : dir_(QDir::tempPath() + QStringLiteral("/wf-cups-XXXXXX")) {
  if (!dir_.isValid()) {
    error_ = QStringLiteral("no temporary folder");
    return;
  }
  const QString root = dir_.path();
  for (const char* sub : {"spool", "tmp", "cache", "state", "log", "out", "ppd"})
    QDir(root).mkpath(QString::fromLatin1(sub));
  // The daemon's helpers run as another user when it is started by root: they must reach the
  // folder.
  QFile::setPermissions(root, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                  QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                  QFileDevice::ExeOther);
  const QString socket = root + QStringLiteral("/cups.sock");
  const QByteArray conf =
      QStringLiteral(
          "Listen %1\n"
          "Browsing Off\n"
          "WebInterface No\n"
          "LogLevel info\n"
          "DefaultAuthType None\n"
          "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
          "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
          .arg(socket)
          .toUtf8();
  QByteArray files =
      QStringLiteral(
          "ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
          "StateDir %1/state\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
          "PageLog %1/log/page_log\nFileDevice Yes\n")
          .arg(root)
          .toUtf8();
  if (!writeFile(root + QStringLiteral("/cupsd.conf"), conf) ||
      !writeFile(root + QStringLiteral("/cups-files.conf"), files) ||
      !writeFile(root + QStringLiteral("/queue.ppd"), QByteArray(kPassThroughPpd))) {
    error_ = QStringLiteral("cannot write the daemon's configuration");
    return;
  }

  // Every printing client of this process, and the tools started from it, talk to this daemon.
  savedServer_ = qgetenv("CUPS_SERVER");
  qputenv("CUPS_SERVER", socket.toLocal8Bit());
  qunsetenv("LPDEST");
  qunsetenv("PRINTER");
  cupsSetServer(socket.toLocal8Bit().constData());

  // The daemon's remarks about its short configuration only matter when it fails to come up.
  daemon_.setProcessChannelMode(QProcess::MergedChannels);
  daemon_.start(QStringLiteral(WF_CUPSD),
                {QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                 QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
  if (!daemon_.waitForStarted(10000)) {
    error_ = QStringLiteral("the daemon did not start: ") + daemon_.errorString();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  while (!QFile::exists(socket) && clock.elapsed() < 15000 && running()) QThread::msleep(50);
  if (!QFile::exists(socket) || !running())
    error_ = QStringLiteral("the daemon did not open its socket: ") +
             QString::fromLocal8Bit(daemon_.readAll());
}

PrivatePrintDaemon::~PrivatePrintDaemon() {
  if (daemon_.state() != QProcess::NotRunning) {
    daemon_.terminate();
    if (!daemon_.waitForFinished(10000)) {
      daemon_.kill();
      daemon_.waitForFinished(5000);
    }
  }
  if (savedServer_.isEmpty())
    qunsetenv("CUPS_SERVER");
  else
    qputenv("CUPS_SERVER", savedServer_);
  cupsSetServer(nullptr);
}

bool PrivatePrintDaemon::run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(20000) || process.exitCode() != 0) {
    error_ = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ") +
             QString::fromLocal8Bit(process.readAll());
    return false;
  }
  return true;
}

QString PrivatePrintDaemon::outputFile(const QString& queue) const {
  return folder() + QStringLiteral("/out/") + queue + QStringLiteral(".pdf");
}

bool PrivatePrintDaemon::addQueue(const QString& name) {
  if (!run(QStringLiteral(WF_LPADMIN),
           {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
            QStringLiteral("file://") + outputFile(name), QStringLiteral("-P"),
            folder() + QStringLiteral("/queue.ppd")}))
    return false;
  if (haveDefault_) return true;
  haveDefault_ = true;
  return run(QStringLiteral(WF_LPADMIN), {QStringLiteral("-d"), name});
}

bool PrivatePrintDaemon::rejectJobs(const QString& name) {
  return run(QStringLiteral(WF_CUPSREJECT), {name});
}

int PrivatePrintDaemon::newestJobId() const {
  cups_job_t* jobs = nullptr;
  const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
  int newest = 0;
  for (int i = 0; i < count; ++i) newest = std::max(newest, jobs[i].id);
  cupsFreeJobs(count, jobs);
  return newest;
}

std::optional<FinishedJob> PrivatePrintDaemon::waitForJob(const QString& queue, int afterJob,
                                                          int timeoutMs) {
  const QByteArray queueName = queue.toUtf8();
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < timeoutMs) {
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queueName.constData(), 0, CUPS_WHICHJOBS_ALL);
    std::optional<FinishedJob> found;
    for (int i = 0; i < count; ++i) {
      if (jobs[i].id > afterJob && jobs[i].state == IPP_JSTATE_COMPLETED) {
        found = FinishedJob{jobs[i].id, QString::fromUtf8(jobs[i].title), 0, {}};
      }
    }
    cupsFreeJobs(count, jobs);
    if (found) {
      ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
      const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(found->id);
      ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
      if (ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/")) {
        if (ipp_attribute_t* copies = ippFindAttribute(response, "copies", IPP_TAG_INTEGER))
          found->copies = ippGetInteger(copies, 0);
        else
          found->copies = 1;  // not asked for: one copy
        ippDelete(response);
      }
      QFile output(outputFile(queue));
      if (output.open(QIODevice::ReadOnly)) found->document = output.readAll();
      return found;
    }
    QThread::msleep(100);
  }
  return std::nullopt;
}

PdfFacts readPdf(const QByteArray& document) {
  PdfFacts facts;
  QTemporaryFile file(QDir::tempPath() + QStringLiteral("/wf-job-XXXXXX.pdf"));
  if (!file.open()) return facts;
  file.write(document);
  file.close();
  QProcess info;
  info.start(QStringLiteral(WF_PDFINFO), {file.fileName()});
  info.waitForFinished(20000);
  const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
  const auto pages =
      QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
          .match(infoText);
  if (pages.hasMatch()) facts.pages = pages.captured(1).toInt();
  const auto size = QRegularExpression(QStringLiteral("^Page size:\\s+(.*)$"),
                                       QRegularExpression::MultilineOption)
                        .match(infoText);
  if (size.hasMatch()) facts.pageSize = size.captured(1).trimmed();
  QProcess text;
  text.start(QStringLiteral(WF_PDFTOTEXT),
             {QStringLiteral("-layout"), file.fileName(), QStringLiteral("-")});
  text.waitForFinished(20000);
  facts.text = QString::fromUtf8(text.readAllStandardOutput());
  return facts;
}

}  // namespace wf::test
