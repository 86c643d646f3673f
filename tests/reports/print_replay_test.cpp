// Print replays the pages the preview holds, generated or loaded: the printout holds the same
// texts as the page store, within the chosen page range, whatever the table holds by then; and
// with no printer installed Print offers printing into a PDF file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>

#include <functional>

#include "report_test_fixtures.h"
#include "reports/emf_format.h"
#include "reports/rep_db_text.h"
#include "reports/rep_printer.h"
#include "reports/rep_standard_preview.h"
#include "reports/report.h"

namespace wf {
namespace {

// A one-column list of texts: 30 rows make two pages.
struct TextReport {
  test::MemoryDataSet table{QStringLiteral("tblRows")};
  TReport report;

  TextReport() {
    table.addField(QStringLiteral("Name"), ReportFieldKind::String);
    report.DataSet = &table;
    TRepBand* detail = report.addBand(QStringLiteral("DetailBand1"), BandType::rbDetail);
    detail->Size = {105.83, 1899.71};
    auto* text = detail->add<TRepDBText>(QStringLiteral("RepDBText1"));
    text->Size = {44.98, 21.17, 29.10, 600};
    text->DataSet = &table;
    text->DataField = QStringLiteral("Name");
  }
  void fill(const QString& word) {
    table.clearRows();
    for (int i = 1; i <= 30; ++i)
      table.addRow({QStringLiteral("%1%2").arg(word).arg(i, 2, 10, QLatin1Char('0'))});
  }
};

// The texts a page recording draws, in drawing order.
QString recordedText(const QByteArray& emf) {
  const auto u32 = [&emf](qsizetype at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(emf.constData() + at));
  };
  QString text;
  qsizetype offset = u32(4);
  while (offset + 8 <= emf.size()) {
    const quint32 type = u32(offset);
    const quint32 size = u32(offset + 4);
    if (type == emf::EMR_EOF || size < 8) break;
    if (type == emf::EMR_EXTTEXTOUTW) {
      const quint32 chars = u32(offset + 44);
      const quint32 at = u32(offset + 48);
      for (quint32 i = 0; i < chars; ++i)
        text += QChar(qFromLittleEndian<quint16>(
            reinterpret_cast<const uchar*>(emf.constData() + offset + at + 2 * i)));
    }
    offset += size;
  }
  return text;
}

QString withoutSpaces(QString text) {
  text.remove(QRegularExpression(QStringLiteral("\\s")));
  return text;
}

QString pdfText(const QString& path) {
  QProcess tool;
  tool.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
             {QStringLiteral("-raw"), path, QStringLiteral("-")});
  tool.waitForFinished(30000);
  return QString::fromUtf8(tool.readAllStandardOutput());
}

TRepStandardPreview* openPreview() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* preview = qobject_cast<TRepStandardPreview*>(widget); preview && preview->isVisible())
      return preview;
  return nullptr;
}

// Previews the report and runs act on the window once the pages are finished; act closes it.
void whenPreviewed(TReport& report, const std::function<void(TRepStandardPreview&)>& act) {
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    TRepStandardPreview* preview = openPreview();
    if (preview == nullptr || !report.Available() || !preview->Print->isEnabled()) return;
    driver.stop();
    act(*preview);
  });
  driver.start(10);
  report.Preview();
}

// Answers the print dialog that Print brings up: "Print to File (PDF)" into path, then Print.
class PdfAnswer {
 public:
  explicit PdfAnswer(const QString& path) {
    QObject::connect(&timer_, &QTimer::timeout, [this, path] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      ++dialogs;
      auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
      auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
      if (printers == nullptr || file == nullptr) {
        dialog->reject();
        return;
      }
      printers->setCurrentIndex(printers->count() - 1);  // the PDF file comes last
      file->setText(path);
      dialog->accept();
    });
    timer_.start(20);
  }
  int dialogs = 0;

 private:
  QTimer timer_;
};

TEST(PrintReplay, PrintHoldsThePagesOnScreenWhateverTheTableHoldsSince) {
  const bool noPrinter = QPrinterInfo::availablePrinterNames().isEmpty();
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
    GTEST_SKIP() << "pdftotext is not installed";
  }
  struct Case {
    const char* name;
    bool loaded;      // the pages on screen come from a prepared-report file
    bool chooseFile;  // no PDF file chosen yet: Print must offer one (no printer installed)
    int first, last;  // page range of the printer settings
    int printedFrom, printedTo;
  };
  const std::vector<Case> cases = {
      {"generated, all pages", false, false, 0, 0, 1, 2},
      {"generated, page 2", false, false, 2, 2, 2, 2},
      {"loaded, all pages", true, false, 0, 0, 1, 2},
      {"generated, no printer", false, true, 0, 0, 1, 2},
      {"loaded, no printer", true, true, 0, 0, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.chooseFile && !noPrinter) continue;  // a printer would take the print at once
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    const QString saved = dir.filePath(QStringLiteral("alpha.PRP"));
    TextReport r;
    r.fill(QStringLiteral("Alpha"));
    r.report.ShowProgress = false;
    if (!c.chooseFile) r.report.PrinterSettings.OutputFileName = pdf;
    r.report.PrinterSettings.FirstPage = c.first;
    r.report.PrinterSettings.LastPage = c.last;
    if (c.loaded) {
      whenPreviewed(r.report, [&](TRepStandardPreview& preview) {
        ASSERT_TRUE(preview.sink().saveFile(saved));
        preview.close();
      });
    }

    // What is on screen: Alpha. What the table holds when Print is pressed: Beta.
    r.fill(c.loaded ? QStringLiteral("Beta") : QStringLiteral("Alpha"));
    QString stored;
    bool setupEnabled = false;
    PdfAnswer answer(pdf);
    whenPreviewed(r.report, [&](TRepStandardPreview& preview) {
      if (c.loaded) {
        TRepStandardPreview::setFileDialogHook(
            [&](const TRepStandardPreview::FileDialogRequest&) { return saved; });
        preview.LoadClick();
        TRepStandardPreview::setFileDialogHook(nullptr);
      }
      r.fill(QStringLiteral("Beta"));
      setupEnabled = preview.PrintSetup->isEnabled();
      for (int page = c.printedFrom; page <= c.printedTo; ++page)
        stored += recordedText(preview.sink().pageRecording(page));
      preview.Print->click();
      EXPECT_TRUE(
          QTest::qWaitFor([&] { return QFile::exists(pdf) && preview.Print->isEnabled(); }, 20000));
      preview.close();
    });

    EXPECT_TRUE(setupEnabled);
    EXPECT_EQ(answer.dialogs, c.chooseFile ? 1 : 0);
    ASSERT_TRUE(QFile::exists(pdf));
    ASSERT_TRUE(stored.contains(QStringLiteral("Alpha")));
    EXPECT_EQ(withoutSpaces(pdfText(pdf)), withoutSpaces(stored));
  }
}

}  // namespace
}  // namespace wf
