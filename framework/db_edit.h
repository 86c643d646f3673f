// A single-line edit bound to a field: shows the field's text in the current record, starts an
// edit as the data source allows when the user types, and writes the typed text into the field
// when the edit is left and when the record is posted. On a string field it takes at most the
// field's size in characters. Characters the tables' code page cannot hold are refused as they
// are typed (a beep) or pasted (a box that names them).
#pragma once

#include "framework/field_data_link.h"

#include <QLineEdit>

#include <string>

class QAction;
class QMenu;

namespace wf {

class TDataSource;
class TField;

class DbEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit DbEdit(QWidget* parent = nullptr);

  void setDataSource(TDataSource* source);
  TDataSource* dataSource() const { return link_.dataSource(); }
  void setDataField(const std::string& fieldName);
  const std::string& dataField() const { return link_.fieldName(); }
  TField* field() const { return link_.field(); }

  // Writes pending typed text into the field. Failures propagate.
  void updateRecord() { link_.updateRecord(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void loadText();
  void writeText();
  bool startEdit();
  void onTextEdited();
  void pasteIfItFits();
  bool insertStoredForm(const QString& text);

  FieldDataLink link_;
  bool loading_ = false;
};

// The Paste entry of a line edit's standard context menu; nullptr when it has none.
QAction* standardPasteAction(const QMenu& menu);

// True for the keys that change an edit's text (typed characters, deleting, cut and paste).
bool isModifyingKey(const QKeyEvent& event);

}  // namespace wf
