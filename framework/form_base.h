// Base of every window: made once at start-up, hidden (never destroyed) when closed, shown
// modally with a result that says how it was closed, and told once per showing when it becomes
// active.
#pragma once

#include <QDialog>

class QEventLoop;
class QWidget;

namespace wf {

// How a modal showing ended.
enum class ModalResult { None = 0, Ok = 1, Cancel = 2 };

class FormBase : public QDialog {
  Q_OBJECT
 public:
  explicit FormBase(QWidget* parent = nullptr);

  // Shows the window modally in its own event loop and returns when it has been hidden.
  // Closing by the close box gives Cancel unless a result was set.
  ModalResult showModal();

  // Sets the result and closes (hides) the window.
  void setModalResult(ModalResult result);
  ModalResult modalResult() const { return modalResult_; }

  // Closes (hides) the window; the modal showing, if any, returns.
  void closeForm();

  // Fixed dialog border: a client area of exactly this size, no resizing, no minimise or
  // maximise box, the close box kept.
  void setFixedDialogBorder(int clientWidth, int clientHeight);

  // Centres the window's outer frame over another window's outer frame, or on the screen when
  // the other window is null or hidden.
  void centreOver(const QWidget* other);
  // Centres the window over the program's main window.
  void centreOverMainForm() { centreOver(mainForm_); }

  // The program's main window, which dialogs centre on; set once by the program.
  static void setMainForm(const QWidget* mainForm) { mainForm_ = mainForm; }

 protected:
  // Runs once per showing, when the showing first activates the window and the window is on
  // screen and painted. Failures that escape it reach the default error box.
  virtual void formActivate() {}

  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void runActivation();
  // The size of the window with the frame the window manager puts around it.
  QSize outerSize(const QWidget* other) const;
  // True once the window system shows the window (mapped and exposed).
  bool isOnScreen() const;

  // How often and how long activation waits for the window to reach the screen; a platform
  // that never reports it still activates the form after the limit.
  static constexpr int kExposePollMs = 10;
  static constexpr int kExposeWaitLimitMs = 2000;

  static inline const QWidget* mainForm_ = nullptr;

  ModalResult modalResult_ = ModalResult::None;
  bool activationPending_ = false;
  int exposeWaitsLeft_ = 0;
  QEventLoop* modalLoop_ = nullptr;  // the loop of the modal showing in progress
};

}  // namespace wf
