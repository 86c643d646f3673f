// The application's message boxes: error, information, confirmation and the framework's default
// error box. Every box of the program goes through here, so tests can record and answer them.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <deque>
#include <exception>
#include <functional>
#include <vector>

namespace wf {

// The application title; also the caption of the default error box.
inline constexpr const char* kApplicationTitle = "Tembra Office - Wrenfold";

enum class MessageKind { Error, Information, Confirm, DefaultError };
enum class MessageIcon { Critical, Information, Question };
enum class MessageAnswer { Ok, Yes, No };

// Everything a box shows, as handed to the test hook.
struct MessageBoxRecord {
  MessageKind kind;
  QString caption;
  QString text;
  MessageIcon icon;
  QStringList buttons;  // in order, with their mnemonic markers ("&Yes")
  int defaultButton;    // index into buttons
  int escapeButton;     // index into buttons; -1 when Esc does nothing special
};

// "OK" for an error box.
void showError(const QString& text);
// Error box with the exception's message.
void showError(const std::exception& failure);
// "OK" for an information box.
void showInformation(const QString& text);
// Yes/No question; true only when the answer is Yes.
bool confirm(const QString& text);
// The box a failure reaches when no handler caught it.
void showDefaultError(const QString& message);

// The default error box's text: a full stop is appended when the last character's code is above
// that of the full stop ("abc" and "Why?" gain one; "Done.", "Stop!" and "" stay as they are).
QString defaultErrorText(const QString& message);

// The font title bars show their caption in, and the narrowest a box may be so that its title bar
// shows the whole caption beside the window icon and buttons.
QFont titleBarFont();
int messageBoxMinimumWidth(const QString& caption);

// The full description of a box of the given kind and text, as it would be shown.
MessageBoxRecord describeMessageBox(MessageKind kind, const QString& text);

// A test hook receives each box instead of a modal window and returns the answer the box would
// have given. Installing nullptr restores the real boxes.
using MessageBoxHook = std::function<MessageAnswer(const MessageBoxRecord&)>;
void setMessageBoxHook(MessageBoxHook hook);

// Records every box while it lives and answers from a script: confirmations take the queued
// answers in turn (No once the queue is empty), other boxes answer Ok. Restores the previous
// hook when destroyed.
class MessageBoxRecorder {
 public:
  MessageBoxRecorder();
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  void queueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  const std::vector<MessageBoxRecord>& boxes() const { return boxes_; }
  void clear() { boxes_.clear(); }

 private:
  MessageAnswer answer(const MessageBoxRecord& box);

  std::vector<MessageBoxRecord> boxes_;
  std::deque<MessageAnswer> answers_;
  MessageBoxHook previous_;
};

}  // namespace wf
