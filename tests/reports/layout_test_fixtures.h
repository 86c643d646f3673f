// The data module with its five tables created empty (no files), a fixed locale, and helpers
// that add vehicles, services, lines and expenses, for the report layout tests.
#pragma once

#include <QBuffer>
#include <QImage>
#include <memory>
#include <string>

#include "report_test_fixtures.h"
#include "store/collation.h"
#include "store/data_module.h"
#include "store/format_settings.h"

namespace wf::test {

class ReportLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FormatSettings settings;
    settings.currencyString = "$";
    settings.currencyFormat = 0;
    settings.negCurrFormat = 1;
    settings.currencyDecimals = 2;
    settings.thousandSeparator = ',';
    settings.decimalSeparator = '.';
    settings.dateSeparator = '/';
    settings.shortDateFormat = "M/d/yyyy";
    formatSettings() = settings;
    Collation::setDefaultLocale("en_US");
    module = std::make_unique<TDataModule1>();
    for (TClientTable* table : {&module->tblVehicle, &module->tblService, &module->tblServiceLine,
                                &module->tblServiceInvoice, &module->tblExpenses}) {
      table->createDataSet();
      table->setLogChanges(false);
    }
  }

  void addVehicle(const std::string& make, const std::string& reg) {
    TClientTable& t = module->tblVehicle;
    t.insert();
    t.fieldByName("VehicleMake").setAsString(make);
    t.fieldByName("VehicleModel").setAsString("Estate");
    t.fieldByName("VehicleYear").setAsString("1998");
    t.fieldByName("VehicleReg").setAsString(reg);
    t.post();
  }

  void addService(const std::string& description, double date) {
    TClientTable& t = module->tblService;
    t.insert();
    t.fieldByName("ServiceDescription").setAsString(description);
    if (date > 0) t.fieldByName("ServiceDate").setAsDateTime(date);
    t.fieldByName("ServiceTechName").setAsString("Sam");
    t.fieldByName("ServiceDistance").setAsString("120000 km");
    t.post();
  }

  void addLine(const std::string& product, const std::string& quantity, const std::string& amount) {
    TClientTable& t = module->tblServiceLine;
    t.insert();
    t.fieldByName("ServiceLineProduct").setAsString(product);
    if (!quantity.empty()) t.fieldByName("ServiceLineQuantity").setAsString(quantity);
    if (!amount.empty()) t.fieldByName("ServiceLineAmount").setAsString(amount);
    t.post();
  }

  void addExpense(const std::string& description, const std::string& amount) {
    TClientTable& t = module->tblExpenses;
    t.insert();
    t.fieldByName("ExpenseDescription").setAsString(description);
    t.fieldByName("ExpenseAmount").setAsString(amount);
    t.fieldByName("ExpenseDate").setAsDateTime(45000);
    t.post();
  }

  static QImage photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    return image;
  }

  // Texts of a page in the order drawn.
  static QStringList textsOf(const RecordingCanvas& page) {
    QStringList texts;
    for (const auto& t : page.texts) texts << t.text;
    return texts;
  }

  static const DrawnText* findText(const RecordingCanvas& page, const QString& text) {
    for (const auto& t : page.texts)
      if (t.text == text) return &t;
    return nullptr;
  }

  std::unique_ptr<TDataModule1> module;
};

}  // namespace wf::test
