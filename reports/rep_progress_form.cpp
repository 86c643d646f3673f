#include "reports/rep_progress_form.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "reports/rep_printer.h"

namespace wf {

TRepProgressForm::TRepProgressForm(std::shared_ptr<TRepPrinter> sink, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      sink_(std::move(sink)) {
  setWindowTitle(QStringLiteral("Printing progress"));
  setFixedSize(149, 97);

  gauge_ = new QProgressBar(this);
  gauge_->setGeometry(16, 18, 114, 16);
  gauge_->setRange(0, 100);
  gauge_->setValue(0);
  gauge_->setTextVisible(false);

  info_ = new QLabel(this);
  info_->setGeometry(0, 44, 145, 13);
  info_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

  cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton_->setGeometry(36, 60, 75, 25);
  connect(cancelButton_, &QPushButton::clicked, this, &TRepProgressForm::CancelButtonClick);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  sink_->setClient(this);
}

TRepProgressForm::~TRepProgressForm() {
  if (sink_->client() == this) sink_->setClient(nullptr);
}

void TRepProgressForm::progressUpdate(int percent) {
  if (percent % 5 != 0) return;
  gauge_->setValue(std::clamp(percent, 0, 100));
  info_->setText(QStringLiteral("%1%  Completed").arg(percent));
  QCoreApplication::processEvents();
}

void TRepProgressForm::customEvent(QEvent* event) {
  if (event->type() != RepPrinterEvent::eventType()) return;
  const auto* notice = static_cast<RepPrinterEvent*>(event);
  if (notice->kind() == RepPrinterEvent::Kind::Progress) progressUpdate(notice->value());
}

void TRepProgressForm::CancelButtonClick() { sink_->cancel(); }

void TRepProgressForm::reject() { CancelButtonClick(); }

}  // namespace wf
