// Fills a temporary Data folder with sample vehicles, services and expenses, makes the program's
// windows over it and saves each one, and the service line report in its preview window, as a PNG
// into the folder given as the only argument.
#include "app/app_instances.h"
#include "app/frm_closing.h"
#include "app/frm_main.h"
#include "controls/progress_cyl.h"
#include "forms/form_instances.h"
#include "forms/frm_service_line_detail.h"
#include "forms/frm_vehicle_detail.h"
#include "framework/font_setup.h"
#include "framework/jpeg_picture.h"
#include "framework/system_format_settings.h"
#include "reports/rep_printer.h"
#include "reports/rep_standard_preview.h"
#include "store/data_module.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

std::string samplePhoto(QColor body) {
  QImage image(160, 110, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient sky(0, 0, 0, 110);
  sky.setColorAt(0, QColor(150, 190, 235));
  sky.setColorAt(1, QColor(235, 240, 245));
  painter.fillRect(image.rect(), sky);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(body);
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(15, 50, 130, 30), 8, 8);
  painter.drawRoundedRect(QRectF(45, 30, 70, 30), 10, 10);
  painter.setBrush(QColor(40, 40, 40));
  painter.drawEllipse(QRectF(30, 68, 24, 24));
  painter.drawEllipse(QRectF(106, 68, 24, 24));
  painter.end();
  const QByteArray bytes = wf::JpegPicture::fromBitmap(image, 90).bytes();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void addSampleRecords() {
  using wf::DataModule1;
  struct Vehicle {
    const char* make;
    const char* model;
    const char* year;
    const char* reg;
    QColor colour;
  };
  const Vehicle vehicles[] = {
      {"Volvo", "240 GL", "1989", "ABC 123", QColor(170, 30, 30)},
      {"Toyota", "Hilux", "2004", "TRK 404", QColor(230, 230, 230)},
      {"Land Rover", "Defender 110", "1998", "LR 1998", QColor(40, 90, 50)},
      {"Honda", "CB500", "2011", "MC 77", QColor(20, 60, 160)},
  };
  for (const Vehicle& v : vehicles) {
    wf::TClientTable& table = DataModule1->tblVehicle;
    table.insert();
    table.fieldByName("VehicleMake").setAsString(v.make);
    table.fieldByName("VehicleModel").setAsString(v.model);
    table.fieldByName("VehicleYear").setAsString(v.year);
    table.fieldByName("VehicleReg").setAsString(v.reg);
    DataModule1->tblVehicleVehiclePhoto->setAsString(samplePhoto(v.colour));
    table.post();
  }
  DataModule1->tblVehicle.first();
  const char* services[][3] = {{"Oil and filter change", "Me", "182 400 km"},
                               {"Brake pads front", "Me", "185 020 km"},
                               {"Timing belt", "Garage", "190 000 km"}};
  double date = 46000;
  for (const auto& s : services) {
    wf::TClientTable& table = DataModule1->tblService;
    table.insert();
    table.fieldByName("ServiceDescription").setAsString(s[0]);
    table.fieldByName("ServiceTechName").setAsString(s[1]);
    table.fieldByName("ServiceDistance").setAsString(s[2]);
    table.fieldByName("ServiceDate").setAsDateTime(date += 41);
    table.post();
  }
  // Lines of the last service, which stays the current one.
  struct Line {
    const char* product;
    int quantity;
    double amount;
  };
  const Line lines[] = {{"Timing belt kit", 1, 189.90},
                        {"Water pump", 1, 64.50},
                        {"Coolant 1 l", 4, 7.25},
                        {"Labour (hours)", 3, 55.00}};
  for (const Line& l : lines) {
    wf::TClientTable& table = DataModule1->tblServiceLine;
    table.insert();
    table.fieldByName("ServiceLineProduct").setAsString(l.product);
    table.fieldByName("ServiceLineQuantity").setAsInteger(l.quantity);
    table.fieldByName("ServiceLineAmount").setAsCurrency(l.amount);
    table.post();
  }
  const char* expenses[] = {"Insurance", "Road tax", "Winter tyres"};
  double amount = 120.5;
  for (const char* e : expenses) {
    wf::TClientTable& table = DataModule1->tblExpenses;
    table.insert();
    table.fieldByName("ExpenseDescription").setAsString(e);
    table.fieldByName("ExpenseAmount").setAsCurrency(amount *= 1.7);
    table.fieldByName("ExpenseDate").setAsDateTime(date += 17);
    table.post();
  }
}

bool save(QWidget* window, const QString& folder, const char* name) {
  window->show();
  QApplication::processEvents();
  const bool ok = window->grab().save(folder + "/" + name);
  window->hide();
  std::printf("%s %s\n", ok ? "wrote" : "could not write", name);
  return ok;
}

// Previews the service line report and grabs the preview window once its first page shows.
bool saveReportPreview(const QString& folder, const char* name) {
  bool ok = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* preview = qobject_cast<wf::TRepStandardPreview*>(window);
      if (preview == nullptr || !preview->isVisible() || preview->sink().availablePages() < 1)
        continue;
      watcher.stop();
      QApplication::processEvents();
      ok = preview->grab().save(folder + "/" + name);
      preview->close();
    }
  });
  watcher.start(50);
  wf::frmMain->LaunchServiceLineReport();
  std::printf("%s %s\n", ok ? "wrote" : "could not write", name);
  return ok;
}

// The closing window as it stands after the third table, grabbed without showing it (showing
// it would start closing the tables).
bool saveClosingWindow(const QString& folder, const char* name) {
  wf::frmClosing->xipZip->setPosition(3);
  const bool ok = wf::frmClosing->grab().save(folder + "/" + name);
  wf::frmClosing->xipZip->setPosition(0);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", name);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: wrenfold-screenshots OUTPUT-FOLDER\n");
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(output);
  wf::installFontSubstitutions();
  wf::applySystemFormatSettings();
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("Data");
  bool ok = true;
  {
    wf::AppInstances instances(dir.path().toStdString() + "/");
    addSampleRecords();
    ok &= save(wf::frmMain, output, "main-window.png");
    ok &= save(wf::frmVehicleDetail, output, "vehicle-window.png");
    ok &= save(wf::frmServiceLineDetail, output, "service-line-window.png");
    ok &= saveReportPreview(output, "report-preview.png");
    ok &= saveClosingWindow(output, "closing-window.png");
  }
  return ok ? 0 : 1;
}
