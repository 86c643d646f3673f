// The program's start-up, main window and closing sequence over a real Data folder: opening the
// five tables with missing, empty and damaged files, Exit writing only the changed tables, and a
// failed write that loses nothing.
#include "app/app_instances.h"
#include "app/frm_closing.h"
#include "app/frm_main.h"
#include "app/link_label.h"
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "controls/progress_cyl.h"
#include "framework/db_grid.h"
#include "framework/font_setup.h"
#include "framework/message_box.h"
#include "program_fixture.h"
#include "store/data_module.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QShowEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <filesystem>

namespace wf {
namespace {

class MainWindow : public ProgramFixture {
 protected:
  bool exists(const char* name) const { return std::filesystem::exists(dataFile(name)); }
};

TEST_F(MainWindow, FirstStartWithAnEmptyDataFolderOpensFiveEmptyTablesSilently) {
  makeDataFolder();
  start();
  for (TClientTable* table :
       {&DataModule1->tblVehicle, &DataModule1->tblService, &DataModule1->tblServiceLine,
        &DataModule1->tblServiceInvoice, &DataModule1->tblExpenses}) {
    EXPECT_TRUE(table->Active()) << table->Name();
    EXPECT_TRUE(table->isEmpty()) << table->Name();
  }
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(frmMain->AppFolder, folder_);
  EXPECT_EQ(frmMain->DBGrid1->model()->rowCount(), 0);
  EXPECT_FALSE(frmMain->VehicleClosed || frmMain->ServiceClosed || frmMain->ServiceLineClosed ||
               frmMain->ServiceInvoiceClosed || frmMain->ExpensesClosed);
}

TEST_F(MainWindow, ExitWritesOnlyTheChangedTableAndTheVehiclesComeBack) {
  makeDataFolder();
  start();
  addVehicle("Volvo");
  QSignalSpy terminate(frmMain, &TfrmMain::terminateRequested);
  frmMain->btnExitClick();
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(terminate.count(), 1);
  EXPECT_EQ(frmClosing->xipZip->Position(), 5)
      << "the bar stood at 5 when the timer found every flag set";
  EXPECT_TRUE(frmMain->VehicleClosed && frmMain->ServiceClosed && frmMain->ServiceLineClosed &&
              frmMain->ServiceInvoiceClosed && frmMain->ExpensesClosed);
  EXPECT_TRUE(exists("Vehicle.cds"));
  for (const char* unchanged :
       {"Service.cds", "ServiceLine.cds", "ServiceInvoice.cds", "Expense.cds"})
    EXPECT_FALSE(exists(unchanged)) << unchanged;
  stop();

  start();
  EXPECT_EQ(DataModule1->tblVehicle.recordCount(), 1);
  EXPECT_EQ(frmMain->DBGrid1->model()->rowCount(), 1);
}

TEST_F(MainWindow, AnEmptyOrCorruptTableGivesOneErrorBoxAndTheOthersOpen) {
  makeDataFolder();
  start();
  addVehicle("Saab");
  frmMain->btnExitClick();
  stop();
  const QByteArray damaged[] = {QByteArray(), "this is not a table file at all, just some bytes"};
  for (const QByteArray& content : damaged) {
    QFile file(QString::fromStdString(dataFile("Service.cds")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    boxes_.clear();

    start();
    ASSERT_EQ(boxes_.boxes().size(), 1u) << content.size() << " bytes";
    EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Error);
    EXPECT_FALSE(DataModule1->tblService.Active());
    EXPECT_TRUE(DataModule1->tblExpenses.Active());
    EXPECT_EQ(frmMain->DBGrid1->model()->rowCount(), 1);
    stop();
  }
}

TEST_F(MainWindow, AFailedWriteAtExitLosesNothingAndExitCanBeTriedAgain) {
  start();  // no Data folder: every table starts empty in memory
  addVehicle("Lada");
  QSignalSpy terminate(frmMain, &TfrmMain::terminateRequested);
  frmMain->btnExitClick();

  ASSERT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Error);
  EXPECT_EQ(boxes_.boxes()[0].text.toStdString(),
            dataFile("Vehicle.cds") +
                " could not be written: No such file or directory. Your changes are kept; Exit "
                "can be tried again.");
  EXPECT_EQ(terminate.count(), 0);
  for (TClientTable* table :
       {&DataModule1->tblVehicle, &DataModule1->tblService, &DataModule1->tblServiceLine,
        &DataModule1->tblServiceInvoice, &DataModule1->tblExpenses})
    EXPECT_TRUE(table->Active()) << table->Name();
  EXPECT_EQ(DataModule1->tblVehicle.fieldByName("VehicleMake").AsString(), "Lada");
  EXPECT_FALSE(frmMain->VehicleClosed);

  makeDataFolder();
  boxes_.clear();
  frmMain->btnExitClick();
  EXPECT_TRUE(boxes_.boxes().empty());
  EXPECT_EQ(terminate.count(), 1);
  EXPECT_TRUE(exists("Vehicle.cds"));
}

// Tries to close the closing window the moment it is shown, before its activation.
class CloseAsShown : public QObject {
 public:
  CloseAsShown() { frmClosing->installEventFilter(this); }
  ~CloseAsShown() override { frmClosing->removeEventFilter(this); }
  int tries = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show && tries == 0) {
      ++tries;
      frmClosing->close();
      frmClosing->btnHelpClick();
    }
    return false;
  }
};

// Nothing but Exit's own work ends the closing sequence: a show event of the closing window (a
// minimised window restored) while the write's error box is up, or a close (close box, Alt+F4)
// before the work ran, never ends the program with a table unwritten.
TEST_F(MainWindow, TheClosingSequenceCannotBeResetOrCutShort) {
  start();  // no Data folder: the vehicle cannot be written
  frmMain->show();
  addVehicle("Lada");
  QSignalSpy terminate(frmMain, &TfrmMain::terminateRequested);
  int errorBoxes = 0;
  {
    MessageBoxRecorder restoresTheFixturesHook;
    setMessageBoxHook([&](const MessageBoxRecord& box) {
      // While the error box is up the window is restored from being minimised: shown again.
      errorBoxes += box.kind == MessageKind::Error;
      QShowEvent shown;
      QCoreApplication::sendEvent(frmClosing, &shown);
      QCoreApplication::processEvents();
      return MessageAnswer::Ok;
    });
    frmMain->btnExitClick();
  }
  EXPECT_EQ(errorBoxes, 1);
  EXPECT_EQ(frmClosing->state(), TfrmClosing::State::Failed);
  EXPECT_EQ(terminate.count(), 0) << "the program ended with the vehicle unwritten";
  ASSERT_TRUE(DataModule1->tblVehicle.Active());
  EXPECT_EQ(DataModule1->tblVehicle.fieldByName("VehicleMake").AsString(), "Lada");

  // The closing window closed (close box, Alt+F4, "x") as it is shown, before its work ran: the
  // close is refused, the work runs and the program ends with the vehicle written.
  makeDataFolder();
  CloseAsShown closer;
  frmMain->btnExitClick();
  EXPECT_GT(closer.tries, 0);
  EXPECT_EQ(frmClosing->state(), TfrmClosing::State::Done);
  EXPECT_EQ(terminate.count(), 1);
  EXPECT_TRUE(exists("Vehicle.cds")) << "the program ended with the vehicle unwritten";
}

// Records, at the moment each table reports that it closed, whether the closing window was on
// screen and painted and where its bar stood.
class ClosingWatch : public QObject {
 public:
  struct Seen {
    ClosedFlag flag;
    bool onScreen;
    int paints;
    int barPosition;
  };

  ClosingWatch() {
    original_ = DataModule1->closedFlagHook;
    DataModule1->closedFlagHook = [this](ClosedFlag flag) {
      const QWindow* window = frmClosing->windowHandle();
      seen.push_back({flag, frmClosing->isVisible() && window != nullptr && window->isExposed(),
                      paints_, frmClosing->xipZip->Position()});
      original_(flag);
    };
    frmClosing->GradPanel4->installEventFilter(this);
  }
  ~ClosingWatch() override {
    frmClosing->GradPanel4->removeEventFilter(this);
    DataModule1->closedFlagHook = original_;
  }

  std::vector<Seen> seen;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints_;
    return false;
  }

 private:
  std::function<void(ClosedFlag)> original_;
  int paints_ = 0;
};

TEST_F(MainWindow, TheClosingWindowIsOnScreenAndPaintedBeforeTheFirstTableCloses) {
  makeDataFolder();
  start();
  frmMain->show();
  addVehicle("Volvo");
  ClosingWatch watch;
  frmMain->btnExitClick();
  ASSERT_EQ(watch.seen.size(), 5u);
  EXPECT_EQ(watch.seen[0].flag, ClosedFlag::ServiceInvoice);
  EXPECT_TRUE(watch.seen[0].onScreen);
  EXPECT_GT(watch.seen[0].paints, 0) << "painted before the first table closed";
  for (int step = 0; step < 5; ++step)
    EXPECT_EQ(watch.seen[static_cast<std::size_t>(step)].barPosition, step) << "table " << step;
}

// A write that fails halfway through Exit: the tables closed before it are opened again, the one
// whose open failed at start stays closed without a second error box, the current service is
// the same, the closing window is gone, and a second Exit starts the bar from 0 and writes all.
TEST_F(MainWindow, ExitAfterAFailedWriteStartsAfreshAndKeepsTheCurrentService) {
  makeDataFolder();
  {
    QFile damaged(QString::fromStdString(dataFile("ServiceLine.cds")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a table file");
  }
  start();
  ASSERT_EQ(boxes_.boxes().size(), 1u) << "the damaged service line file";
  frmMain->show();
  addVehicle("Volvo");
  TClientTable& services = DataModule1->tblService;
  for (const char* description : {"Oil", "Brakes", "Tyres"}) {
    services.insert();
    DataModule1->tblServiceServiceDescription->setAsString(description);
    services.post();
  }
  services.moveTo(1);
  const std::int32_t currentService = DataModule1->tblServiceServiceNumber->AsInteger();
  TClientTable& expenses = DataModule1->tblExpenses;
  expenses.insert();
  DataModule1->tblExpensesExpenseDescription->setAsString("Wax");
  expenses.post();
  // A folder where the expense file goes: the expenses cannot be written, after the services.
  std::filesystem::create_directory(dataFile("Expense.cds"));

  QSignalSpy terminate(frmMain, &TfrmMain::terminateRequested);
  frmMain->btnExitClick();
  ASSERT_EQ(boxes_.boxes().size(), 2u);
  EXPECT_EQ(boxes_.boxes()[1].kind, MessageKind::Error);
  EXPECT_EQ(terminate.count(), 0);
  EXPECT_FALSE(frmClosing->isVisible());
  EXPECT_TRUE(exists("Service.cds"));
  EXPECT_FALSE(DataModule1->tblServiceLine.Active()) << "its open failed at start";
  EXPECT_TRUE(frmMain->ServiceLineClosed);
  ASSERT_TRUE(services.Active());
  EXPECT_EQ(services.recordCount(), 3);
  EXPECT_EQ(DataModule1->tblServiceServiceNumber->AsInteger(), currentService);
  EXPECT_TRUE(expenses.Active());
  EXPECT_GT(expenses.changeCount(), 0) << "the expense is still held, unwritten";

  std::filesystem::remove(dataFile("Expense.cds"));
  ClosingWatch watch;
  frmMain->btnExitClick();
  EXPECT_EQ(boxes_.boxes().size(), 2u) << "no new box";
  EXPECT_EQ(terminate.count(), 1);
  ASSERT_FALSE(watch.seen.empty());
  EXPECT_EQ(watch.seen[0].barPosition, 0) << "the bar starts from 0 again";
  EXPECT_TRUE(exists("Expense.cds"));
  EXPECT_TRUE(exists("Vehicle.cds"));
}

TEST_F(MainWindow, TheCloseBoxWritesChangedTablesOrStaysOpen) {
  start();  // no Data folder yet
  frmMain->show();
  addVehicle("Kia");
  QSignalSpy terminate(frmMain, &TfrmMain::terminateRequested);
  frmMain->close();
  EXPECT_EQ(boxes_.boxes().size(), 1u);
  EXPECT_TRUE(frmMain->isVisible());
  EXPECT_EQ(terminate.count(), 0);
  EXPECT_EQ(DataModule1->tblVehicle.recordCount(), 1);

  makeDataFolder();
  frmMain->close();
  EXPECT_FALSE(frmMain->isVisible());
  EXPECT_EQ(terminate.count(), 1);
  EXPECT_TRUE(exists("Vehicle.cds"));
}

TEST_F(MainWindow, LayoutMatchesTheDesign) {
  makeDataFolder();
  start();
  EXPECT_EQ(frmMain->windowTitle(), "Tembra Office - Wrenfold");
  EXPECT_EQ(frmMain->size(), QSize(992, 390));
  EXPECT_EQ(frmMain->GradPanel1->geometry(), QRect(0, 0, 992, 45));
  EXPECT_EQ(frmMain->GradPanel4->geometry(), QRect(0, 45, 206, 300));
  EXPECT_EQ(frmMain->GradPanel5->geometry(), QRect(206, 45, 786, 300));
  EXPECT_EQ(frmMain->GradPanel3->geometry(), QRect(0, 345, 992, 45));
  EXPECT_EQ(frmMain->btnExit->geometry(), QRect(904, 10, 75, 25));
  EXPECT_EQ(frmMain->btnVehicleDetail->geometry(), QRect(32, 30, 145, 55));
  EXPECT_EQ(frmMain->btnService->geometry(), QRect(32, 122, 145, 55));
  EXPECT_EQ(frmMain->btnExpenses->geometry(), QRect(32, 214, 145, 55));
  EXPECT_EQ(frmMain->DBGrid1->geometry(), QRect(6, 6, 725, 229));
  EXPECT_EQ(frmClosing->size(), QSize(235, 127));
  EXPECT_EQ(frmClosing->xipZip->geometry(), QRect(16, 88, 201, 25));

  // The bars are told apart by their colours on a grab of the whole window, away from the
  // captions: the title bar above y 45, the content panels between, the button bar below 345.
  const QImage shot = frmMain->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(992, 390));
  const QRgb title = shot.pixel(800, 30);
  const QRgb content = shot.pixel(800, 60);
  const QRgb buttons = shot.pixel(500, 360);
  EXPECT_NE(title, content);
  EXPECT_NE(buttons, content);
  EXPECT_GT(qBlue(title), qRed(title)) << "title bar is blue";
  EXPECT_GT(qGreen(buttons), qRed(buttons)) << "button bar is green";
}

TEST_F(MainWindow, PointingAtTheLinkUnderlinesIt) {
  makeDataFolder();
  start();
  EXPECT_FALSE(frmMain->Label3->font().underline());
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(frmMain->Label3, &enter);
  EXPECT_TRUE(frmMain->Label3->font().underline());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(frmMain->Label3, &leave);
  EXPECT_FALSE(frmMain->Label3->font().underline());
}

}  // namespace
}  // namespace wf
