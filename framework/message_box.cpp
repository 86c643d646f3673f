#include "framework/message_box.h"

#include "framework/text_codec.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace wf {
namespace {

MessageBoxHook& hook() {
  static MessageBoxHook instance;
  return instance;
}

QMessageBox::Icon toQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

MessageAnswer answerOf(const MessageBoxRecord& box, int index) {
  if (index < 0 || index >= box.buttons.size()) return MessageAnswer::Ok;
  const QString& button = box.buttons[index];
  if (button == QLatin1String("&Yes")) return MessageAnswer::Yes;
  if (button == QLatin1String("&No")) return MessageAnswer::No;
  return MessageAnswer::Ok;
}

MessageAnswer runModal(const MessageBoxRecord& box) {
  QMessageBox dialog(toQtIcon(box.icon), box.caption, box.text, QMessageBox::NoButton,
                     QApplication::activeWindow());
  // The box sizes itself to its text and buttons only; a short text under a long caption would
  // leave the window manager too little title bar for the caption. A spacer across the whole
  // layout holds the box at the width its caption needs.
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addItem(new QSpacerItem(messageBoxMinimumWidth(box.caption), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  std::vector<QPushButton*> buttons;
  for (const QString& caption : box.buttons)
    buttons.push_back(dialog.addButton(caption, QMessageBox::AcceptRole));
  if (box.defaultButton >= 0) dialog.setDefaultButton(buttons[box.defaultButton]);
  if (box.escapeButton >= 0) dialog.setEscapeButton(buttons[box.escapeButton]);
  dialog.exec();
  for (size_t i = 0; i < buttons.size(); ++i)
    if (dialog.clickedButton() == buttons[i]) return answerOf(box, static_cast<int>(i));
  // Closed without a button (Esc with no escape button): the box's escape answer, else No/Ok.
  return answerOf(box, box.escapeButton);
}

// With WRENFOLD_MESSAGE_LOG naming a file, every box's caption and text are appended to it as
// one line each ("caption: text", line breaks as \n) when the box is shown: the real-window tests
// read there what the box says, and a user can keep a record of the messages of a session.
void logMessageBox(const MessageBoxRecord& box) {
  const QString path = qEnvironmentVariable("WRENFOLD_MESSAGE_LOG");
  if (path.isEmpty()) return;
  QFile log(path);
  if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return;
  QString line = box.caption + QStringLiteral(": ") + box.text;
  line.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  log.write((line + QLatin1Char('\n')).toUtf8());
}

MessageAnswer show(MessageKind kind, const QString& text) {
  const MessageBoxRecord box = describeMessageBox(kind, text);
  if (hook()) return hook()(box);
  logMessageBox(box);
  return runModal(box);
}

}  // namespace

QFont titleBarFont() {
  // Title bars show their caption in bold, in the desktop's title font.
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  return font;
}

int messageBoxMinimumWidth(const QString& caption) {
  const QFontMetrics metrics(titleBarFont());
  // Beside the caption the title bar holds the window icon and the close button (and, from some
  // window managers, two more buttons), each about as wide as the bar is high, with a margin of
  // a few pixels at both ends.
  constexpr int kTitleBarItems = 4;
  constexpr int kEndMargin = 4;
  return metrics.horizontalAdvance(caption) + kTitleBarItems * metrics.height() + 2 * kEndMargin;
}

QString defaultErrorText(const QString& message) {
  if (!message.isEmpty() && message.back() > QChar('.')) return message + QLatin1Char('.');
  return message;
}

MessageBoxRecord describeMessageBox(MessageKind kind, const QString& text) {
  switch (kind) {
    case MessageKind::Error:
      return {kind, QStringLiteral("Error"), text, MessageIcon::Critical, {QStringLiteral("OK")}, 0,
              0};
    case MessageKind::Information:
      return {kind,
              QStringLiteral("Information"),
              text,
              MessageIcon::Information,
              {QStringLiteral("OK")},
              0,
              0};
    case MessageKind::Confirm:
      return {kind,
              QStringLiteral("Confirm"),
              text,
              MessageIcon::Question,
              {QStringLiteral("&Yes"), QStringLiteral("&No")},
              0,
              1};
    case MessageKind::DefaultError:
      return {kind,
              QString::fromLatin1(kApplicationTitle),
              defaultErrorText(text),
              MessageIcon::Critical,
              {QStringLiteral("OK")},
              0,
              0};
  }
  return {};
}

void showError(const QString& text) { show(MessageKind::Error, text); }

void showError(const std::exception& failure) { showError(exceptionText(failure)); }

void showInformation(const QString& text) { show(MessageKind::Information, text); }

bool confirm(const QString& text) { return show(MessageKind::Confirm, text) == MessageAnswer::Yes; }

void showDefaultError(const QString& message) { show(MessageKind::DefaultError, message); }

void setMessageBoxHook(MessageBoxHook newHook) { hook() = std::move(newHook); }

MessageBoxRecorder::MessageBoxRecorder() : previous_(hook()) {
  setMessageBoxHook([this](const MessageBoxRecord& box) { return answer(box); });
}

MessageBoxRecorder::~MessageBoxRecorder() { setMessageBoxHook(std::move(previous_)); }

MessageAnswer MessageBoxRecorder::answer(const MessageBoxRecord& box) {
  boxes_.push_back(box);
  if (box.kind != MessageKind::Confirm) return MessageAnswer::Ok;
  if (answers_.empty()) return MessageAnswer::No;
  const MessageAnswer next = answers_.front();
  answers_.pop_front();
  return next;
}

}  // namespace wf
