// The report preview window (TRepStandardPreview): pages through the pages of one page sink as
// they are finished, zooms, prints, sets up the printer, saves and loads prepared-report files.
// It shares ownership of its sink and frees itself when closed.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace wf {

class TRepPreview;
class TRepPrinter;

class TRepStandardPreview : public QWidget {
  Q_OBJECT

 public:
  explicit TRepStandardPreview(std::shared_ptr<TRepPrinter> sink, QWidget* parent = nullptr);
  ~TRepStandardPreview() override;

  // Attaches the window to its sink and shows it maximized.
  void FormShow();

  // What a file dialog was asked to show; tests answer it through setFileDialogHook.
  struct FileDialogRequest {
    bool save = false;
    QString title;
    QString filter;
    QString defaultSuffix;
  };
  using FileDialogHook = std::function<QString(const FileDialogRequest&)>;
  // While set, the hook answers the Save and Load dialogs (empty: cancelled).
  static void setFileDialogHook(FileDialogHook hook);

  // Handlers, named after the window's events.
  void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  void ZoomToFitClick();
  void ZoomTo100Click();
  void ZoomToWidthClick();
  void FirstPageClick();
  void PrevPageClick();
  void NextPageClick();
  void LastPageClick();
  void PrintSetupClick();
  void PrintClick();
  void SaveClick();
  void LoadClick();
  void ExitClick();
  void RepPreviewPageAvailable(int finishedPages);
  void RepPreviewProgressUpdate(int percent);

  TRepPrinter& sink() const { return *sink_; }
  QFrame* ToolBar1;
  QToolButton* ZoomFit;
  QToolButton* Zoom100;
  QToolButton* ZoomToWidth;
  QToolButton* FirstPage;
  QToolButton* PreviousPage;
  QToolButton* ToolButton2;
  QToolButton* LastPage;
  QToolButton* PrintSetup;
  QToolButton* Print;
  QToolButton* SaveReport;
  QToolButton* LoadReport;
  QPushButton* ExitButton;
  TRepPreview* RepPreview;
  QStatusBar* StatusBar;
  QLabel* ProgressPanel;  // status panel 1
  QLabel* PagePanel;      // status panel 2

 protected:
  void closeEvent(QCloseEvent* event) override;
  void customEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* addButton(int left, int image, const QString& hint,
                         void (TRepStandardPreview::*handler)());
  void addDivider(int left);
  void showPage(int page, bool reload = false);
  void writePageStatus();
  QString askForFile(const FileDialogRequest& request);
  // Printer setup through the report (generated pages) or the sink alone (loaded ones).
  bool runPrinterSetup(const QString& acceptText);
  void printPages();

  std::shared_ptr<TRepPrinter> sink_;
  int lastProgressShown_ = 0;
  bool printing_ = false;
};

}  // namespace wf
