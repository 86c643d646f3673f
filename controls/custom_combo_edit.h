// A single-line masked edit with a small button at its right edge that drops down a pop-up
// window below (or above) the edit. The pop-up never takes the focus: while it is open the edit
// keeps the focus, is read-only with its caret hidden, and receives the keys typed.
#pragma once

#include <QKeyCombination>
#include <QLineEdit>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>

class QToolButton;

namespace wf {

// Which edge of the edit the pop-up lines up with (epaRight, epaLeft).
enum class PopupAlign { Right, Left };

// Screen position of a pop-up of the given size for an edit at editOnScreen: directly below the
// edit, or directly above it when it would pass the screen's bottom. Right alignment puts the
// right edges together unless that gives a negative left, when it starts at the edit's left;
// left alignment starts at the edit's left and right-aligns when it would pass the screen's right
// edge. Finally the pop-up is kept inside the screen on every edge.
QPoint popupPosition(const QRect& editOnScreen, QSize popupSize, const QRect& screen,
                     PopupAlign align);

class TCustomComboEdit : public QLineEdit {
  Q_OBJECT
 public:
  static constexpr int kButtonWidth = 17;

  explicit TCustomComboEdit(QWidget* parent = nullptr);
  ~TCustomComboEdit() override;

  // The ReadOnly property. The widget's own read-only state (QLineEdit::isReadOnly) is derived
  // from it, DirectInput, the data binding and an open pop-up; always set it through here.
  void setReadOnly(bool readOnly);
  bool readOnlyProperty() const { return readOnly_; }

  // Whether typing in the edit is allowed (DirectInput).
  void setDirectInput(bool directInput);
  bool directInput() const { return directInput_; }

  // Entering the edit by the keyboard (Tab, Backtab, a shortcut) selects all its text, so that
  // what is typed replaces it (AutoSelect, on by default).
  void setAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
  bool autoSelect() const { return autoSelect_; }

  // The key that opens the pop-up (ClickKey), Alt+Down unless changed.
  void setClickKey(QKeyCombination key) { clickKey_ = key; }
  QKeyCombination clickKey() const { return clickKey_; }

  void setPopupAlign(PopupAlign align) { popupAlign_ = align; }
  PopupAlign popupAlign() const { return popupAlign_; }

  // The button's picture: numGlyphs images side by side, the first for the normal look and the
  // second, when present, for the disabled look.
  void setGlyph(const QPixmap& glyph, int numGlyphs);

  void setButtonVisible(bool visible);
  bool buttonVisible() const;
  QToolButton* button() const { return button_; }

  bool popupVisible() const { return popupVisible_; }
  QWidget* popup() const { return popup_; }

  // Opens the pop-up, unless the edit is read-only, the pop-up is already open or the bound data
  // refuses a change.
  void popupDropDown();
  // Closes an open pop-up; with accept the pop-up's value is taken.
  void popupCloseUp(bool accept);

 signals:
  // The button was clicked (OnButtonClick); raised before the pop-up opens or closes.
  void buttonClicked();

 protected:
  // The pop-up window, a Qt::Popup widget; the edit takes ownership.
  void setPopup(QWidget* popup);

  // Hooks for the kinds of edit: fill the pop-up before it is shown, take its value when it
  // closes with accept, and say whether the bound data forbids editing.
  virtual void preparePopup() {}
  virtual void acceptPopupValue() {}
  virtual bool dataReadOnly() const { return false; }
  // Called before the user changes the value (typing, a date key, the pop-up); false refuses the
  // change. The data-bound edits put their dataset into edit state here.
  virtual bool editCanModify() { return true; }

  // Recomputes the widget's read-only state; call when any of its inputs changes.
  void updateReadOnly();

  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void layoutButton();
  void onButtonClick();
  bool popupMousePress(const QPoint& globalPos);

  QToolButton* button_ = nullptr;
  QWidget* popup_ = nullptr;
  bool readOnly_ = false;
  bool directInput_ = true;
  bool autoSelect_ = true;
  bool popupVisible_ = false;
  QKeyCombination clickKey_{Qt::AltModifier, Qt::Key_Down};
  PopupAlign popupAlign_ = PopupAlign::Right;
};

}  // namespace wf
