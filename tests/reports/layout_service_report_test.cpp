// The service report on the data module's tables: the title box, the rows and the closing line.
#include <gtest/gtest.h>

#include "layout_test_fixtures.h"
#include "reports/frm_service_detail_rep.h"

namespace wf {
namespace {

using test::RecordingSink;

class ServiceReportTest : public test::ReportLayoutTest {
 protected:
  void SetUp() override {
    ReportLayoutTest::SetUp();
    addVehicle("Mercedes-Benz Sprinter CD", "AB12 CDE");
    form = std::make_unique<TfrmServiceDetailRep>(*module);
  }
  std::unique_ptr<TfrmServiceDetailRep> form;
};

TEST_F(ServiceReportTest, TitleBoxRowsAndClosingLine) {
  addService("Oil change", 45000);
  addService("No date yet", 0);
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  const auto& page = sink.page(1);
  const QStringList texts = textsOf(page);
  for (const char* expected :
       {"Vehicle Number:", "Vehicle Make:", "Vehicle Model:", "Estate", "Vehicle Year:", "1998",
        "Registration No.:", "AB12 CDE", "Service No.", "Service Description", "Service Date",
        "Technician Name", "Service Distance", "Oil change", "3/15/2023", "No date yet", "Sam",
        "120000 km"})
    EXPECT_TRUE(texts.contains(QString::fromLatin1(expected))) << expected << "\n"
                                                               << texts.join('|').toStdString();
  // A long make is printed whole: the title's field texts size themselves to their text.
  EXPECT_TRUE(texts.contains(QStringLiteral("Mercedes-Benz Sprinter CD")));
  // The undated service (sorted first) prints no date: two rows, one date.
  EXPECT_EQ(texts.filter(QStringLiteral("/")).size(), 1);

  // Bands: title 100..489, header 489..595, rows 595 and 701, summary at 807 (y 305 px).
  // The summary band is filled and draws only its top line, one pixel high.
  const QRect summary(38, 305, 718, 40);
  int summaryFill = -1;
  for (size_t i = 0; i < page.fills.size(); ++i)
    if (page.fills[i].rect == summary) summaryFill = static_cast<int>(i);
  ASSERT_GE(summaryFill, 0);
  ASSERT_EQ(page.fills.size(), static_cast<size_t>(summaryFill + 2));
  EXPECT_EQ(page.fills.back().rect, QRect(38, 305, 718, 1));
  EXPECT_EQ(page.fills.back().color, QColor(Qt::black));
}

TEST_F(ServiceReportTest, TitleAndHeaderFramesJoinTheRowsSideLines) {
  addService("Oil change", 45000);
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  std::vector<QRect> black;
  for (const auto& fill : sink.page(1).fills)
    if (fill.color == QColor(Qt::black)) black.push_back(fill.rect);
  // Title (all four sides, down to 490 native = 185 px), header (bottom, left, right), row
  // (left, right), summary (top).
  const std::vector<QRect> expected{QRect(38, 38, 718, 1),  QRect(38, 184, 718, 1),
                                    QRect(38, 38, 1, 147),  QRect(755, 38, 1, 147),
                                    QRect(38, 224, 718, 1), QRect(38, 185, 1, 40),
                                    QRect(755, 185, 1, 40), QRect(38, 225, 1, 40),
                                    QRect(755, 225, 1, 40), QRect(38, 265, 718, 1)};
  EXPECT_EQ(black, expected);
}

}  // namespace
}  // namespace wf
