// The small "Printing progress" window (TRepProgressForm) shown while the preview's pages are
// printed: a progress bar, a percentage text and a Cancel button that cancels the print job's
// page sink. It becomes the sink's client on construction.
#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace wf {

class TRepPrinter;

class TRepProgressForm : public QDialog {
  Q_OBJECT

 public:
  // Shares ownership of sink while it lives; the caller frees the form when the print ended.
  explicit TRepProgressForm(std::shared_ptr<TRepPrinter> sink, QWidget* parent = nullptr);
  ~TRepProgressForm() override;

  QProgressBar* Gauge() const { return gauge_; }
  QLabel* Info() const { return info_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  // Handles one progress notification (posted events arrive here as well).
  void progressUpdate(int percent);

 protected:
  void customEvent(QEvent* event) override;
  // Escape (and a close request) cancel the print like the Cancel button; the window stays
  // until the print has ended, so it is never hidden while pages are still being printed.
  void reject() override;

 private:
  void CancelButtonClick();

  std::shared_ptr<TRepPrinter> sink_;
  QProgressBar* gauge_;
  QLabel* info_;
  QPushButton* cancelButton_;
};

}  // namespace wf
