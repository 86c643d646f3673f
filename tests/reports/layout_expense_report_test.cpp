// The expense report on the data module's tables: photo, rows, the total, page breaks.
#include <gtest/gtest.h>

#include "layout_test_fixtures.h"
#include "reports/frm_expense_detail_rep.h"

namespace wf {
namespace {

using test::RecordingSink;

class ExpenseReportTest : public test::ReportLayoutTest {
 protected:
  void SetUp() override {
    ReportLayoutTest::SetUp();
    addVehicle("Volvo", "AB12 CDE");
    form = std::make_unique<TfrmExpenseDetailRep>(*module);
  }
  std::unique_ptr<TfrmExpenseDetailRep> form;
};

TEST_F(ExpenseReportTest, TotalOfTwoExpensesInBoldRedUnderTheAmounts) {
  addExpense("Tyres", "10.50");
  addExpense("Wipers", "2.25");
  for (int run = 0; run < 2; ++run) {
    RecordingSink sink(96);
    form->Report1->GenerateReport(sink);
    ASSERT_EQ(sink.pages.size(), 1u);
    const test::DrawnText* total = findText(sink.page(1), QStringLiteral("$12.75"));
    ASSERT_NE(total, nullptr) << "run " << run;
    EXPECT_EQ(total->color, QColor(255, 0, 0));
    EXPECT_TRUE(total->font.bold());
    EXPECT_EQ(total->x, 638);  // 100 + 1587.5 native units
    EXPECT_NE(findText(sink.page(1), QStringLiteral("$10.50")), nullptr);
    EXPECT_NE(findText(sink.page(1), QStringLiteral("3/15/2023")), nullptr);
  }
  // The auto-sized total took the width of its text instead of its stored 373.06.
  EXPECT_LT(form->RepExpr1->Size.Width, 200);
}

TEST_F(ExpenseReportTest, ThePhotoIsStretchedOverItsBoxAndAMissingOneLeavesItEmpty) {
  addExpense("Tyres", "10.50");
  form->RepImage1->Picture = photo(640, 200);
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  ASSERT_EQ(sink.page(1).pictures.size(), 1u);
  EXPECT_EQ(sink.page(1).pictures[0].target, QRect(46, 46, 180, 130));

  form->RepImage1->Picture = QImage();
  RecordingSink empty(96);
  form->Report1->GenerateReport(empty);
  EXPECT_TRUE(empty.page(1).pictures.empty());
}

TEST_F(ExpenseReportTest, TwentyTwoExpensesPutTheLastRowAndTheTotalOnPageTwo) {
  for (int i = 1; i <= 22; ++i) addExpense("Expense " + std::to_string(i), "1");
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 2u);
  const QStringList second = textsOf(sink.page(2));
  EXPECT_FALSE(second.contains(QStringLiteral("Expense 21")));
  EXPECT_TRUE(second.contains(QStringLiteral("Expense No.")));
  EXPECT_TRUE(second.contains(QStringLiteral("Expense 22")));
  EXPECT_TRUE(second.contains(QStringLiteral("$22.00")));
  EXPECT_FALSE(textsOf(sink.page(1)).contains(QStringLiteral("Total:")));
}

TEST_F(ExpenseReportTest, AVehicleWithoutExpensesPrintsTheEmptyReport) {
  RecordingSink sink(96);
  form->Report1->GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  const QStringList texts = textsOf(sink.page(1));
  EXPECT_TRUE(texts.contains(QStringLiteral("$0.00")));
  EXPECT_FALSE(texts.contains(QStringLiteral("Expense No.")));
  EXPECT_TRUE(texts.contains(QStringLiteral("Volvo")));
}

}  // namespace
}  // namespace wf
