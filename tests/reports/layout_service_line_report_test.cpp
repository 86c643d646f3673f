// The service line report on the data module's tables: title box, rows, money totals, pages.
#include <gtest/gtest.h>

#include "layout_test_fixtures.h"
#include "reports/frm_service_line_detail_rep.h"

namespace wf {
namespace {

using test::RecordingSink;

class ServiceLineReportTest : public test::ReportLayoutTest {
 protected:
  void SetUp() override {
    ReportLayoutTest::SetUp();
    addVehicle("Volvo", "AB12 CDE");
    addService("Brakes and oil", 45000);
    form = std::make_unique<TfrmServiceLineDetailRep>(*module);
  }
  std::unique_ptr<TfrmServiceLineDetailRep> form;
};

TEST_F(ServiceLineReportTest, LineTotalsAndTheReportTotalInTheLocaleMoneyFormat) {
  addLine("Brake pads", "2", "10.00");
  addLine("Oil", "1", "5.50");
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  const auto& page = sink.page(1);
  EXPECT_EQ(textsOf(page).filter(QStringLiteral("$20.00")).size(), 1);
  EXPECT_EQ(textsOf(page).filter(QStringLiteral("$10.00")).size(), 1);
  EXPECT_EQ(textsOf(page).filter(QStringLiteral("$5.50")).size(), 2);  // amount and total
  const test::DrawnText* total = findText(page, QStringLiteral("$25.50"));
  ASSERT_NE(total, nullptr);
  EXPECT_EQ(total->color, QColor(255, 0, 0));
  EXPECT_TRUE(total->font.bold());
  // Under the total column: 100 + 1651 native units from the page's left edge.
  EXPECT_EQ(total->x, 662);
  const test::DrawnText* caption = findText(page, QStringLiteral("Total:"));
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->x, 614);
  EXPECT_EQ(caption->color, QColor(255, 0, 0));
  // The rows are the detail band's: product left, quantity centred.
  const test::DrawnText* quantity = findText(page, QStringLiteral("2"));
  ASSERT_NE(quantity, nullptr);
  EXPECT_EQ(quantity->anchor, TextAnchor::Center);

  // A second run totals from zero again.
  RecordingSink again(96);
  form->Report1->GenerateReport(again);
  EXPECT_NE(findText(again.page(1), QStringLiteral("$25.50")), nullptr);
}

TEST_F(ServiceLineReportTest, TitleBoxShowsTheServiceAndTheRegistration) {
  addLine("Oil", "1", "5.50");
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  const QStringList texts = textsOf(sink.page(1));
  for (const char* expected :
       {"Vehicle Registration No.:", "AB12 CDE", "Service Number:", "1", "Technician Name:", "Sam",
        "Service Description:", "Brakes and oil", "Service Date:", "3/15/2023", "Service Distance:",
        "120000 km", "Line No.", "Service Line Description", "Line Quantity", "Amount", "Total"})
    EXPECT_TRUE(texts.contains(QString::fromLatin1(expected))) << expected;
  // Registration caption at (100 + 529.17, 100 + 42.33) native units.
  const test::DrawnText* reg = findText(sink.page(1), QStringLiteral("Vehicle Registration No.:"));
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg->x, 238);
  EXPECT_EQ(reg->y, 54);
  EXPECT_TRUE(reg->font.bold());
}

TEST_F(ServiceLineReportTest, ALineWithoutQuantityPrintsAnEmptyCellAndAZeroTotal) {
  addLine("Labour", "", "30.00");
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  const QStringList texts = textsOf(sink.page(1));
  EXPECT_TRUE(texts.contains(QStringLiteral("$30.00")));
  EXPECT_EQ(texts.filter(QStringLiteral("$0.00")).size(), 2);  // line total and report total
}

TEST_F(ServiceLineReportTest, FortySixLinesFillTwoPagesAndTheTotalAThird) {
  for (int i = 1; i <= 46; ++i) addLine("Item " + std::to_string(i), "1", "1.00");
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 3u);
  const auto parts = [&](int page) {
    return textsOf(sink.page(page)).filter(QStringLiteral("Item "));
  };
  EXPECT_EQ(parts(1).size(), 21);
  EXPECT_EQ(parts(1).front(), QStringLiteral("Item 1"));
  EXPECT_EQ(parts(2).size(), 25);
  EXPECT_EQ(parts(2).front(), QStringLiteral("Item 22"));
  EXPECT_EQ(parts(2).back(), QStringLiteral("Item 46"));
  const QStringList last = textsOf(sink.page(3));
  EXPECT_TRUE(last.contains(QStringLiteral("Line No.")));
  EXPECT_TRUE(last.contains(QStringLiteral("$46.00")));
  // The table's cursor stays on the last line.
  EXPECT_EQ(module->tblServiceLine.fieldByName("ServiceLineProduct").AsString(), "Item 46");
}

TEST_F(ServiceLineReportTest, ADescriptionTooWideForItsColumnShowsItsFirstLine) {
  const std::string product = "Timing belt kit with water pump tensioner idler and all the seals";
  addLine(product, "1", "1.00");
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  const QString full = QString::fromStdString(product);
  bool sawStart = false;
  for (const auto& t : sink.page(1).texts) {
    EXPECT_NE(t.text, full);
    if (full.startsWith(t.text) && t.text.size() > 10) sawStart = true;
  }
  EXPECT_TRUE(sawStart);
}

TEST_F(ServiceLineReportTest, AClosedLineTablePrintsTheEmptyReport) {
  addLine("Oil", "1", "5.50");
  module->tblServiceLine.close();
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  const QStringList texts = textsOf(sink.page(1));
  EXPECT_FALSE(texts.contains(QStringLiteral("Oil")));
  EXPECT_FALSE(texts.contains(QStringLiteral("Line No.")));
  EXPECT_TRUE(texts.contains(QStringLiteral("$0.00")));
  EXPECT_TRUE(texts.contains(QStringLiteral("Brakes and oil")));
}

TEST_F(ServiceLineReportTest, TheTotalOfANonNumberIsAFailure) {
  QString value = QStringLiteral("Unknown function : X");
  EXPECT_THROW(form->RepExpr1Print(form->RepExpr1, value), std::exception);
  value = QStringLiteral("1234.5");
  form->RepExpr1Print(form->RepExpr1, value);
  EXPECT_EQ(value, QStringLiteral("$1,234.50"));
  value = QStringLiteral("-2");
  form->RepExpr1Print(form->RepExpr1, value);
  EXPECT_EQ(value, QStringLiteral("-$2.00"));
}

}  // namespace
}  // namespace wf
