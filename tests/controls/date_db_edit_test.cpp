// The date edit bound to a date-time field: read-only outside edits, today's date for a new
// record, and the field's time of day kept when a date is written back.
#include "controls/date_serial.h"
#include "controls/db_date_edit.h"
#include "controls/popup_calendar.h"
#include "framework/message_box.h"
#include "store/client_table.h"
#include "store/data_source.h"
#include "store/date_time_field.h"
#include "store/format_settings.h"
#include "store/integer_field.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>

namespace wf {
namespace {

const QDateTime kNow(QDate(2026, 6, 15), QTime(14, 30));
const double kEvening = 0.75;  // 18:00

class DbDateEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSettings = formatSettings();
    formatSettings().shortDateFormat = "dd/mm/yyyy";
    formatSettings().dateSeparator = '/';
    table.FieldDefs() = {{"ServiceNumber", ftAutoInc, 0, faReadonly},
                         {"ServiceDate", ftDateTime, 0, 0}};
    table.setIndexFieldNames("ServiceNumber");
    table.createDataSet();
    source.setDataSet(&table);

    host = std::make_unique<QWidget>();
    host->resize(400, 200);
    other = new QLineEdit(host.get());
    edit = new TDBDateEdit(host.get());
    edit->setGeometry(192, 56, 161, 22);
    edit->setNowFunction([] { return kNow; });
    edit->setDefaultToday(true);
    edit->setDataSource(&source);
    edit->setDataField(QStringLiteral("ServiceDate"));
    host->show();
    QApplication::setActiveWindow(host.get());
  }
  void TearDown() override {
    host.reset();
    formatSettings() = savedSettings;
  }

  void addRecord(QDate date, double timeOfDay) {
    table.insert();
    if (date.isValid()) {
      serviceDate.setAsDateTime(serialOf(date, timeOfDay));
    } else {
      serviceDate.Clear();
    }
    table.post();
  }
  QString shown() const { return edit->displayText(); }
  void typeAtStart(const char* digits) {
    edit->setFocus();
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, digits);
  }

  FormatSettings savedSettings;
  TClientTable table{"tblService"};
  TAutoIncField& number = table.addField<TAutoIncField>("ServiceNumber");
  TDateTimeField& serviceDate = table.addField<TDateTimeField>("ServiceDate");
  TDataSource source{"datService"};
  std::unique_ptr<QWidget> host;
  QLineEdit* other = nullptr;
  TDBDateEdit* edit = nullptr;
};

TEST_F(DbDateEditTest, ShowsTheCurrentRecordAndIsReadOnlyUnlessEditing) {
  addRecord(QDate(2026, 12, 9), kEvening);
  addRecord(QDate(2025, 1, 2), 0.0);
  EXPECT_EQ(edit->editMask(), QStringLiteral("!99/99/9999;1; "));
  EXPECT_EQ(shown(), QStringLiteral("02/01/2025"));
  EXPECT_TRUE(edit->isReadOnly());
  table.first();
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));

  table.edit();
  EXPECT_FALSE(edit->isReadOnly());
  table.cancel();
  EXPECT_TRUE(edit->isReadOnly());

  table.close();
  EXPECT_EQ(edit->text(), QString()) << "no field, no text";
  EXPECT_TRUE(edit->isReadOnly());
}

TEST_F(DbDateEditTest, EnteringAnEditWithAnEmptyDateSetsTheCurrentDateAndTime) {
  table.insert();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(kNow));
  EXPECT_EQ(shown(), QStringLiteral("15/06/2026"));
  table.post();

  addRecord(QDate(), 0.0);
  ASSERT_TRUE(serviceDate.IsNull());
  table.edit();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(kNow));

  // A dated record keeps its date.
  addRecord(QDate(2026, 12, 9), kEvening);
  table.edit();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2026, 12, 9), kEvening));
  table.cancel();

  edit->setDefaultToday(false);
  table.insert();
  EXPECT_TRUE(serviceDate.IsNull());
  EXPECT_EQ(shown(), QStringLiteral("  /  /    "));
}

TEST_F(DbDateEditTest, TypedDateKeepsTheTimeOfDayWhenTheRecordIsPosted) {
  addRecord(QDate(2026, 12, 9), kEvening);
  table.edit();
  typeAtStart("10");
  EXPECT_EQ(shown(), QStringLiteral("10/12/2026"));
  table.post();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2026, 12, 10), kEvening));
  EXPECT_EQ(shown(), QStringLiteral("10/12/2026"));
}

TEST_F(DbDateEditTest, UnreadableDateStoresTodayWithThePreviousTimeWhenLeaving) {
  addRecord(QDate(2026, 12, 9), kEvening);
  table.edit();
  typeAtStart("3102");
  ASSERT_EQ(shown(), QStringLiteral("31/02/2026"));
  other->setFocus();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(kNow.date(), kEvening));
  EXPECT_EQ(shown(), QStringLiteral("15/06/2026"));
  EXPECT_EQ(table.State(), DataSetState::Edit) << "leaving writes the field, it does not post";
}

TEST_F(DbDateEditTest, FailedWriteOnLeavingKeepsTheFocusAndShowsTheError) {
  MessageBoxRecorder boxes;
  addRecord(QDate(2026, 12, 9), kEvening);
  table.edit();
  typeAtStart("10");
  serviceDate.setReadOnly(true);
  other->setFocus();
  EXPECT_TRUE(edit->hasFocus()) << "back at once";
  QTest::qWait(50);  // the box follows once the event that moved the focus is over
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].kind, MessageKind::DefaultError);
  EXPECT_EQ(boxes.boxes()[0].text, QStringLiteral("Field 'ServiceDate' cannot be modified."));
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_EQ(edit->selectedText(), edit->text());
  EXPECT_EQ(shown(), QStringLiteral("10/12/2026")) << "the typed text stays";
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2026, 12, 9), kEvening));
  table.cancel();  // nothing left to write when the window goes
}

TEST_F(DbDateEditTest, CheckOnExitRefusesAnUnreadableDateAndKeepsTheStoredOne) {
  MessageBoxRecorder boxes;
  edit->setCheckOnExit(true);
  addRecord(QDate(2023, 3, 16), kEvening);
  const double stored = serialOf(QDate(2023, 3, 16), kEvening);

  table.edit();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "310226");
  ASSERT_EQ(shown(), QStringLiteral("31/02/26  "));
  other->setFocus();
  QTest::qWait(50);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].kind, MessageKind::DefaultError);
  EXPECT_EQ(boxes.boxes()[0].text, QStringLiteral("''31/02/26  '' is not a valid date."));
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_EQ(edit->selectedText(), shown());
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), stored);

  // A post that does not go through leaving the edit (a Save by its shortcut) is refused too,
  // and the text to correct is selected again. When a click on Save took the focus, the
  // refused post is the one report: no second box follows.
  boxes.clear();
  edit->deselect();
  other->setFocus();
  EXPECT_THROW(table.post(), std::exception);
  QTest::qWait(50);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(table.State(), DataSetState::Edit);
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), stored);
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_EQ(edit->selectedText(), shown());

  // An emptied edit is no slip: it still means today, at the stored time of day.
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  other->setFocus();
  QTest::qWait(50);
  EXPECT_TRUE(boxes.boxes().empty());
  table.post();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(kNow.date(), kEvening));

  // A readable date goes through as before.
  table.edit();
  edit->setFocus();
  edit->setCursorPosition(0);
  QTest::keyClicks(edit, "01");
  table.post();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2026, 6, 1), kEvening));
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DbDateEditTest, BlankTextClearsTheFieldWithoutDefaultToday) {
  edit->setDefaultToday(false);
  addRecord(QDate(2026, 12, 9), kEvening);
  table.edit();
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  ASSERT_EQ(shown(), QStringLiteral("  /  /    "));
  table.post();
  EXPECT_TRUE(serviceDate.IsNull());
}

TEST_F(DbDateEditTest, UnchangedTextLeavesTheFieldAlone) {
  addRecord(QDate(2026, 12, 9), kEvening);
  table.edit();
  edit->setFocus();
  other->setFocus();
  table.post();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2026, 12, 9), kEvening));
}

TEST_F(DbDateEditTest, PickedDateIsWrittenWithTheTimeOfDayAndSelected) {
  addRecord(QDate(2026, 12, 9), kEvening);
  table.edit();
  edit->setFocus();
  edit->popupDropDown();
  ASSERT_TRUE(edit->popupVisible());
  QTest::keyClick(edit, Qt::Key_PageDown);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2027, 1, 9), kEvening));
  EXPECT_EQ(shown(), QStringLiteral("09/01/2027"));
  EXPECT_EQ(edit->selectedText(), edit->text());
}

TEST_F(DbDateEditTest, ChangingTheDateInBrowseStartsAnEditFirst) {
  struct Case {
    const char* name;
    int cursor;
    std::function<void(TDBDateEdit*)> act;
    QString want;
  };
  auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    return [k, mods](TDBDateEdit* e) { QTest::keyClick(e, k, mods); };
  };
  const Case cases[] = {
      {"a digit", 0, [](TDBDateEdit* e) { QTest::keyClicks(e, "1"); },
       QStringLiteral("19/12/2026")},
      {"Backspace", 10, key(Qt::Key_Backspace), QStringLiteral("09/12/202 ")},
      {"Delete", 0, key(Qt::Key_Delete), QStringLiteral(" 9/12/2026")},
      {"keypad minus", 0, key(Qt::Key_Minus, Qt::KeypadModifier), QStringLiteral("08/12/2026")},
      {"T", 0, [](TDBDateEdit* e) { QTest::keyClicks(e, "t"); }, QStringLiteral("15/06/2026")},
      {"paste", 0, key(Qt::Key_V, Qt::ControlModifier), QStringLiteral("24/12/2026")},
      {"opening the calendar and picking", 0,
       [](TDBDateEdit* e) {
         e->popupDropDown();
         ASSERT_TRUE(e->popupVisible());
         QTest::keyClick(e, Qt::Key_Right);
         QTest::keyClick(e, Qt::Key_Return);
       },
       QStringLiteral("10/12/2026")},
  };
  addRecord(QDate(2026, 12, 9), kEvening);
  for (const Case& c : cases) {
    table.cancel();
    QApplication::clipboard()->setText(QStringLiteral("24"));
    edit->setFocus();
    edit->setCursorPosition(c.cursor);
    ASSERT_EQ(table.State(), DataSetState::Browse) << c.name;
    c.act(edit);
    EXPECT_EQ(table.State(), DataSetState::Edit) << c.name;
    EXPECT_EQ(shown(), c.want) << c.name;
  }
  // A data source that may not start edits refuses them all.
  table.cancel();
  source.setAutoEdit(false);
  for (const Case& c : cases) {
    if (QString(c.name).startsWith(QStringLiteral("opening"))) {
      edit->popupDropDown();
      EXPECT_FALSE(edit->popupVisible());
    } else {
      c.act(edit);
    }
    EXPECT_EQ(table.State(), DataSetState::Browse) << c.name;
    EXPECT_EQ(shown(), QStringLiteral("09/12/2026")) << c.name;
  }
}

TEST_F(DbDateEditTest, TabbingInSelectsAllSoATypedShortYearReplacesTheDate) {
  // Typing 010126 after Tab gives 01/01/26 with the last two year places blank: the year reads
  // as 26, which the 60-year window puts in 2026.
  addRecord(QDate(2025, 3, 4), kEvening);
  table.edit();
  other->setFocus();
  QTest::keyClick(other, Qt::Key_Tab);
  ASSERT_TRUE(edit->hasFocus());
  EXPECT_EQ(edit->selectedText(), edit->text());
  QTest::keyClicks(edit, "010126");
  EXPECT_EQ(shown(), QStringLiteral("01/01/26  "));
  QTest::keyClick(edit, Qt::Key_Tab);
  EXPECT_FALSE(edit->hasFocus());
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2026, 1, 1), kEvening));
  EXPECT_EQ(shown(), QStringLiteral("01/01/2026"));
}

TEST_F(DbDateEditTest, EscapeRestoresTheFieldsDateAndSelectsIt) {
  addRecord(QDate(2026, 12, 9), kEvening);
  table.edit();
  typeAtStart("2");
  ASSERT_EQ(shown(), QStringLiteral("29/12/2026"));
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
  EXPECT_EQ(edit->selectedText(), edit->text());
  table.post();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2026, 12, 9), kEvening));
}

TEST_F(DbDateEditTest, KeypadMinusOnAnEmptyDateGivesYesterday) {
  edit->setDefaultToday(false);
  table.insert();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_EQ(shown(), QStringLiteral("14/06/2026"));
  table.post();
  EXPECT_DOUBLE_EQ(serviceDate.AsDateTime(), serialOf(QDate(2026, 6, 14)));
}

TEST_F(DbDateEditTest, DataSourceMayGoFirst) {
  auto early = std::make_unique<TDataSource>("datEarly");
  early->setDataSet(&table);
  edit->setDataSource(early.get());
  addRecord(QDate(2026, 12, 9), kEvening);
  EXPECT_EQ(shown(), QStringLiteral("09/12/2026"));
  early.reset();
  EXPECT_EQ(edit->dataSource(), nullptr);
  EXPECT_EQ(edit->text(), QString());
  table.insert();  // no longer heard
  EXPECT_EQ(edit->text(), QString());
}

}  // namespace
}  // namespace wf
