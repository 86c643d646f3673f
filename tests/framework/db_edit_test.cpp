#include "framework/db_edit.h"
#include "framework/db_memo.h"

#include "bound_tables.h"
#include "framework/message_box.h"
#include "framework/text_entry.h"
#include "store/code_page.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QTest>

#include <tuple>

namespace wf {
namespace {

// Types text key by key, as a keyboard would deliver it (QTest only knows ASCII keys).
void typeText(QWidget& widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&widget, &press);
  }
}

void leave(QWidget& widget) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(&widget, &out);
}

class DbEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables.fill();
    tables.goToVehicle("Ford");
    makeEdit.setDataSource(&tables.datVehicle);
    makeEdit.setDataField("VehicleMake");
    odometerEdit.setDataSource(&tables.datVehicle);
    odometerEdit.setDataField("Odometer");
  }

  test::BoundTables tables;
  DbEdit makeEdit;
  DbEdit odometerEdit;
  MessageBoxRecorder boxes;
};

TEST_F(DbEditTest, ShowsTheCurrentRecordAndFollowsIt) {
  EXPECT_EQ(makeEdit.text(), "Ford");
  tables.goToVehicle("Volvo");
  EXPECT_EQ(makeEdit.text(), "Volvo");
  tables.vehicles.insert();
  EXPECT_EQ(makeEdit.text(), "");
  tables.vehicles.cancel();
  EXPECT_EQ(makeEdit.text(), "Volvo");
}

TEST_F(DbEditTest, StringFieldsTakeAtMostTheirSize) {
  EXPECT_EQ(makeEdit.maxLength(), 25);
  EXPECT_EQ(odometerEdit.maxLength(), 32767);
  tables.vehicles.edit();
  makeEdit.clear();
  QTest::keyClicks(&makeEdit, QString(30, QLatin1Char('x')));
  EXPECT_EQ(makeEdit.text().size(), 25);
}

TEST_F(DbEditTest, TypingStartsAnEditAndLeavingWritesTheField) {
  makeEdit.selectAll();
  QTest::keyClicks(&makeEdit, "Fiat");
  EXPECT_EQ(tables.vehicles.State(), DataSetState::Edit);
  EXPECT_EQ(tables.make.AsString(), "Ford");  // nothing written while typing
  leave(makeEdit);
  EXPECT_EQ(tables.make.AsString(), "Fiat");
  tables.vehicles.post();
  EXPECT_EQ(tables.make.AsString(), "Fiat");
}

TEST_F(DbEditTest, PostWritesTextStillBeingTyped) {
  tables.vehicles.edit();
  makeEdit.selectAll();
  typeText(makeEdit, QString::fromUtf16(u"Citro\u00EBn"));
  tables.vehicles.post();
  EXPECT_EQ(tables.make.AsString(), "Citro\xEBn");
  EXPECT_EQ(makeEdit.text(), QString::fromUtf16(u"Citro\u00EBn"));
}

// Runs a test under one code page, counting beeps, and puts the previous page back.
class CodePageEntryTest : public DbEditTest {
 protected:
  void SetUp() override {
    before_ = CodePage::active().number();
    CodePage::setActive(1252);
    setTextEntryBeep([this] { ++beeps; });
    DbEditTest::SetUp();
  }
  void TearDown() override {
    setTextEntryBeep(nullptr);
    CodePage::setActive(before_);
  }

  int beeps = 0;

 private:
  int before_ = 1252;
};

// The ways text is pasted into an edit.
void pasteByCtrlV(QWidget& widget) { QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier); }
void pasteByShiftInsert(QWidget& widget) {
  QTest::keyClick(&widget, Qt::Key_Insert, Qt::ShiftModifier);
}
void pasteByContextMenu(QWidget& widget) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), widget.mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(&widget, &event);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QAction* paste = standardPasteAction(*menu);
  ASSERT_NE(paste, nullptr);
  paste->trigger();
  menu->close();
}

TEST_F(CodePageEntryTest, ACharacterTheCodePageLacksIsRefusedAsItIsTyped) {
  makeEdit.selectAll();
  typeText(makeEdit, QString::fromUtf16(u"\u03A9"));
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(makeEdit.text(), "Ford");
  EXPECT_EQ(tables.vehicles.State(), DataSetState::Browse);  // no edit started for it
  typeText(makeEdit, QString::fromUtf16(u"\u0160koda \u0141ada"));
  EXPECT_EQ(beeps, 2);
  leave(makeEdit);
  tables.vehicles.post();
  EXPECT_EQ(tables.make.AsString(), "\x8Akoda ada");
  EXPECT_TRUE(boxes.boxes().empty());

  // Under a Central European code page the same letter is welcome.
  CodePage::setActive(1250);
  tables.vehicles.edit();
  makeEdit.selectAll();
  typeText(makeEdit, QString::fromUtf16(u"\u0141\u00F3d\u017A"));
  leave(makeEdit);
  tables.vehicles.post();
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(tables.make.AsString(),
            "\xA3\xF3"
            "d\x9F");
}

TEST_F(CodePageEntryTest, ALetterStoredAsLetterAndMarkIsShownAndCountedSo) {
  CodePage::setActive(1258);
  makeEdit.selectAll();
  typeText(makeEdit, QString::fromUtf16(u"Vi\u1EC7t"));
  EXPECT_EQ(makeEdit.text(), QString::fromUtf16(u"Vi\u00EA\u0323t"));
  leave(makeEdit);
  tables.vehicles.post();
  EXPECT_EQ(tables.make.AsString(), "Vi\xEA\xF2t");

  // One place left in the 25 of the field: the two-character form does not go in halved.
  tables.vehicles.edit();
  makeEdit.setText(QString(24, QLatin1Char('x')));
  makeEdit.end(false);
  typeText(makeEdit, QString::fromUtf16(u"\u1EC7"));
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(makeEdit.text(), QString(24, QLatin1Char('x')));
}

TEST_F(CodePageEntryTest, PastedTextWithSuchCharactersIsNotPastedAndTheBoxNamesThem) {
  QWidget window;
  makeEdit.setParent(&window);
  const auto unparent = qScopeGuard([this] { makeEdit.setParent(nullptr); });
  window.show();
  QApplication::setActiveWindow(&window);
  makeEdit.setFocus();
  for (auto paste : {pasteByCtrlV, pasteByShiftInsert, pasteByContextMenu}) {
    boxes.clear();
    tables.vehicles.cancel();
    makeEdit.selectAll();
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"\u03A9mega \u65E5\u65E5"));
    paste(makeEdit);
    EXPECT_EQ(makeEdit.text(), "Ford");
    EXPECT_EQ(tables.vehicles.State(), DataSetState::Browse);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].kind, MessageKind::Information);
    EXPECT_EQ(boxes.boxes()[0].text,
              QString::fromUtf16(u"The text was not pasted: this system's code page "
                                 u"(Windows-1252) cannot hold the characters \"\u03A9\" (U+03A9), "
                                 u"\"\u65E5\" (U+65E5)."));

    boxes.clear();
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"Citro\u00EBn"));
    paste(makeEdit);
    EXPECT_TRUE(makeEdit.text().endsWith(QString::fromUtf16(u"Citro\u00EBn")));
    EXPECT_TRUE(boxes.boxes().empty());
  }
  EXPECT_EQ(beeps, 0);
}

TEST_F(CodePageEntryTest, MemosFollowTheSameRule) {
  DbMemo memo;
  memo.setDataSource(&tables.datService);
  memo.setDataField("ServiceNote");
  typeText(memo, QString::fromUtf16(u"Ji\u0159\u00ED"));
  EXPECT_EQ(beeps, 1);
  QGuiApplication::clipboard()->setText(QString::fromUtf16(u" \u010Cern\u00FD"));
  pasteByCtrlV(memo);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_TRUE(
      boxes.boxes()[0].text.contains(QString::fromUtf16(u"the character \"\u010C\" (U+010C).")));
  QGuiApplication::clipboard()->setText(QString::fromUtf16(u" Cern\u00FD"));
  pasteByCtrlV(memo);
  tables.services.post();
  EXPECT_EQ(tables.note.AsString(), "Ji\xED Cern\xFD");
}

TEST_F(DbEditTest, NoEditWhenTheDataSourceDoesNotAllowIt) {
  tables.datVehicle.setAutoEdit(false);
  QTest::keyClicks(&makeEdit, "zz");
  EXPECT_EQ(tables.vehicles.State(), DataSetState::Browse);
  EXPECT_EQ(makeEdit.text(), "Ford");

  DbEdit numberEdit;
  numberEdit.setDataSource(&tables.datVehicle);
  numberEdit.setDataField("VehicleNumber");
  tables.datVehicle.setAutoEdit(true);
  const QString before = numberEdit.text();
  QTest::keyClicks(&numberEdit, "9");
  EXPECT_EQ(numberEdit.text(), before);  // an auto-increment field is never typed into
}

TEST_F(DbEditTest, FieldErrorsOnLeavingAndOnPost) {
  QTest::keyClicks(&odometerEdit, "12a");
  leave(odometerEdit);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].kind, MessageKind::DefaultError);
  // Ends in a quote, whose code is below the full stop's: no full stop is added.
  EXPECT_EQ(boxes.boxes()[0].text.toStdString(),
            "'12a' is not a valid integer value for field 'Odometer'");
  EXPECT_EQ(odometerEdit.text(), "12a");  // kept for correcting
  EXPECT_THROW(tables.vehicles.post(), std::exception);
  EXPECT_EQ(tables.vehicles.State(), DataSetState::Edit);

  odometerEdit.selectAll();
  QTest::keyClicks(&odometerEdit, "120500");
  tables.vehicles.post();
  EXPECT_EQ(tables.odometer.AsInteger(), 120500);
}

TEST_F(DbEditTest, EnteringByTheKeyboardSelectsAllSoTypingReplacesTheValue) {
  // Tab and Backtab select the whole text; a click leaves the caret where it fell.
  struct Case {
    const char* name;
    Qt::FocusReason reason;
    QString makeAfterTyping;
    QString odometerAfterTyping;
  };
  const Case cases[] = {
      {"Tab", Qt::TabFocusReason, "Opel", "4"},
      {"Backtab", Qt::BacktabFocusReason, "Opel", "4"},
      {"mouse", Qt::MouseFocusReason, "FordOpel", "12344"},
  };
  QWidget window;
  makeEdit.setParent(&window);
  odometerEdit.setParent(&window);
  window.show();
  QApplication::setActiveWindow(&window);
  for (const Case& c : cases) {
    tables.vehicles.edit();
    tables.odometer.setAsInteger(1234);
    tables.vehicles.post();
    for (auto [edit, typed, want] : {std::tuple{&makeEdit, "Opel", c.makeAfterTyping},
                                     std::tuple{&odometerEdit, "4", c.odometerAfterTyping}}) {
      window.setFocus();
      edit->setFocus(c.reason);
      ASSERT_TRUE(edit->hasFocus()) << c.name;
      if (c.reason == Qt::MouseFocusReason) edit->end(false);
      typeText(*edit, typed);
      EXPECT_EQ(edit->text(), want) << c.name;
    }
    tables.vehicles.cancel();
  }
  makeEdit.setParent(nullptr);
  odometerEdit.setParent(nullptr);
}

TEST_F(DbEditTest, EscapeDropsWhatWasTyped) {
  QTest::keyClicks(&makeEdit, "xyz");
  QTest::keyClick(&makeEdit, Qt::Key_Escape);
  EXPECT_EQ(makeEdit.text(), "Ford");
  tables.vehicles.post();
  EXPECT_EQ(tables.make.AsString(), "Ford");
}

TEST(DbMemo, MemoTextIsStoredWithCrLfAndShownWithLf) {
  test::BoundTables tables;
  tables.fill();
  tables.goToVehicle("Ford");
  DbMemo memo;
  memo.setDataSource(&tables.datService);
  memo.setDataField("ServiceNote");
  EXPECT_EQ(memo.toPlainText(), "");
  QTest::keyClicks(&memo, "line one");
  QTest::keyClick(&memo, Qt::Key_Return);
  QTest::keyClicks(&memo, "line two");
  EXPECT_EQ(tables.services.State(), DataSetState::Edit);
  tables.services.post();
  EXPECT_EQ(tables.note.AsString(), "line one\r\nline two");
  tables.services.next();
  EXPECT_EQ(memo.toPlainText(), "");
  tables.services.first();
  EXPECT_EQ(memo.toPlainText(), "line one\nline two");
}

}  // namespace
}  // namespace wf
