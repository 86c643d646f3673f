#include "reports/preview_messages.h"

#include <QMessageBox>

#include "framework/message_box.h"

namespace wf {

namespace {
std::function<void(const QString&)>& plainHook() {
  static std::function<void(const QString&)> hook;
  return hook;
}
}  // namespace

void showPreviewError(const QString& text) { showError(text); }

void showPlainMessage(const QString& text) {
  if (plainHook()) {
    plainHook()(text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationTitle), text,
                  QMessageBox::Ok);
  box.exec();
}

void setPlainMessageHook(std::function<void(const QString&)> hook) {
  plainHook() = std::move(hook);
}

}  // namespace wf
