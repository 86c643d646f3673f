// A multi-line text box bound to a memo field: shows the field's text in the current record,
// starts an edit as the data source allows when the user types, and writes the text into the
// field when the memo is left and when the record is posted. Lines are stored with CR LF
// between them, as the table files hold memo text. Characters the tables' code page cannot hold
// are refused as they are typed (a beep) or pasted (a box that names them).
#pragma once

#include "framework/field_data_link.h"

#include <QPlainTextEdit>

#include <string>

namespace wf {

class TDataSource;
class TField;

class DbMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit DbMemo(QWidget* parent = nullptr);

  void setDataSource(TDataSource* source);
  TDataSource* dataSource() const { return link_.dataSource(); }
  void setDataField(const std::string& fieldName);
  const std::string& dataField() const { return link_.fieldName(); }
  TField* field() const { return link_.field(); }

  void updateRecord() { link_.updateRecord(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void loadText();
  void writeText();
  bool startEdit();

  FieldDataLink link_;
  bool loading_ = false;
};

// Memo text as stored (CR LF line breaks) and as shown (LF).
QString memoTextForDisplay(const QString& stored);
QString memoTextForStorage(const QString& shown);

}  // namespace wf
