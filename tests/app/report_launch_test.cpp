// The report launches of the main window over a real program: the vehicle photo put into the
// service and expense reports (or an error box and an empty picture when it does not decode),
// and the service line report, which has no photo. Each launch blocks until its preview window
// is closed, so a timer watches for the window, notes what the report showed and closes it.
#include "app/app_instances.h"
#include "app/frm_main.h"
#include "framework/font_setup.h"
#include "framework/jpeg_picture.h"
#include "framework/message_box.h"
#include "program_fixture.h"
#include "reports/frm_expense_detail_rep.h"
#include "reports/frm_service_detail_rep.h"
#include "reports/frm_service_line_detail_rep.h"
#include "reports/rep_image.h"
#include "reports/rep_printer.h"
#include "reports/rep_standard_preview.h"
#include "store/data_module.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace wf {
namespace {

// What the preview window showed when its report had finished.
struct PreviewSeen {
  int windows = 0;
  int pages = 0;
  bool pictureEmpty = false;
  bool modal = true;               // a modal preview would block the list window that launched it
  const QWidget* owner = nullptr;  // the window it belongs to
};

class ReportLaunch : public RunningProgramFixture {
 protected:
  static std::string jpegBytes() {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(170, 30, 30));
    const QByteArray bytes = JpegPicture::fromBitmap(image).bytes();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }

  // A vehicle with one service, one line of it and one expense; photo empty means none stored.
  static void addVehicle(const std::string& make, const std::string& photo) {
    TClientTable& vehicles = DataModule1->tblVehicle;
    vehicles.insert();
    vehicles.fieldByName("VehicleMake").setAsString(make);
    if (!photo.empty()) DataModule1->tblVehicleVehiclePhoto->setAsString(photo);
    vehicles.post();
    insertAndPost(DataModule1->tblService, "ServiceDescription", "Oil change");
    insertAndPost(DataModule1->tblServiceLine, "ServiceLineProduct", "Oil");
    insertAndPost(DataModule1->tblExpenses, "ExpenseDescription", "Insurance");
  }

  static bool selectVehicle(const std::string& make) {
    TClientTable& vehicles = DataModule1->tblVehicle;
    for (vehicles.first(); !vehicles.eof(); vehicles.next())
      if (vehicles.fieldByName("VehicleMake").AsString() == make) return true;
    return false;
  }

  static void insertAndPost(TClientTable& table, const char* field, const char* text) {
    table.insert();
    table.fieldByName(field).setAsString(text);
    table.post();
  }

  // Runs a launch while a timer waits for the preview's report to finish, notes what it showed
  // (picture: the report picture to inspect, or null) and closes the window.
  static PreviewSeen launch(const std::function<void()>& run, const TRepImage* picture) {
    PreviewSeen seen;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* preview = qobject_cast<TRepStandardPreview*>(window);
        if (preview == nullptr || !preview->isVisible()) continue;
        if (preview->sink().status() != TRepPrinter::Status::Finished) return;
        ++seen.windows;
        seen.pages = preview->sink().PageCount();
        seen.pictureEmpty = picture != nullptr && picture->Picture.isNull();
        seen.modal = preview->windowModality() != Qt::NonModal;
        seen.owner = preview->parentWidget();
        preview->close();
      }
    });
    watcher.start(20);
    run();
    return seen;
  }
};

TEST_F(ReportLaunch, APhotoThatIsNotJpegGivesOneErrorBoxAndTheReportWithAnEmptyPicture) {
  addVehicle("Volvo", "these bytes are not a JPEG stream");
  struct Case {
    const char* name;
    void (TfrmMain::*launch)();
    TRepImage* picture;
  };
  const Case cases[] = {
      {"service", &TfrmMain::LaunchServiceReport, frmServiceDetailRep->RepImage1},
      {"expense", &TfrmMain::LaunchExpenseReport, frmExpenseDetailRep->RepImage1}};
  for (const Case& c : cases) {
    boxes_.clear();
    const PreviewSeen seen = launch([&] { (frmMain->*c.launch)(); }, c.picture);
    ASSERT_EQ(boxes_.boxes().size(), 1u) << c.name;
    EXPECT_EQ(boxes_.boxes()[0].kind, MessageKind::Error) << c.name;
    EXPECT_TRUE(boxes_.boxes()[0].text.startsWith("JPEG error #"))
        << boxes_.boxes()[0].text.toStdString();
    EXPECT_EQ(seen.windows, 1) << c.name;
    EXPECT_GE(seen.pages, 1) << c.name;
    EXPECT_TRUE(seen.pictureEmpty) << c.name;
  }
}

TEST_F(ReportLaunch, AVehicleWithoutPhotoAfterOneWithAPhotoGetsAnEmptyPicture) {
  addVehicle("Volvo", jpegBytes());
  addVehicle("Saab", "");
  TRepImage* picture = frmServiceDetailRep->RepImage1;

  ASSERT_TRUE(selectVehicle("Volvo"));
  PreviewSeen seen = launch([] { frmMain->LaunchServiceReport(); }, picture);
  EXPECT_EQ(seen.windows, 1);
  EXPECT_FALSE(seen.pictureEmpty);
  EXPECT_EQ(picture->Picture.size(), QSize(40, 30));

  ASSERT_TRUE(selectVehicle("Saab"));
  seen = launch([] { frmMain->LaunchServiceReport(); }, picture);
  EXPECT_EQ(seen.windows, 1);
  EXPECT_TRUE(seen.pictureEmpty);
  EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(ReportLaunch, TheServiceLineReportHasNoPhotoStep) {
  addVehicle("Volvo", "these bytes are not a JPEG stream");
  QImage marker(8, 8, QImage::Format_RGB32);
  marker.fill(Qt::green);
  frmServiceDetailRep->RepImage1->Picture = marker;
  frmExpenseDetailRep->RepImage1->Picture = marker;

  // Launched from a modal window, as the service line window is: the preview is not modal and
  // belongs to that window, which would otherwise block it.
  QDialog launcher;
  launcher.setWindowModality(Qt::ApplicationModal);
  launcher.show();
  const PreviewSeen seen = launch([] { frmMain->LaunchServiceLineReport(); }, nullptr);
  launcher.close();
  EXPECT_EQ(seen.windows, 1);
  EXPECT_GE(seen.pages, 1);
  EXPECT_FALSE(seen.modal);
  EXPECT_EQ(seen.owner, &launcher);
  EXPECT_TRUE(boxes_.boxes().empty()) << "the undecodable photo was not read";
  EXPECT_EQ(frmServiceDetailRep->RepImage1->Picture, marker);
  EXPECT_EQ(frmExpenseDetailRep->RepImage1->Picture, marker);
}

}  // namespace
}  // namespace wf
