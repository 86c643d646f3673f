// A generation run as a whole: totals, progress, re-entry, cancellation, failures.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <stdexcept>

#include "report_test_fixtures.h"
#include "reports/rep_db_text.h"
#include "reports/rep_expr.h"
#include "reports/rep_label.h"
#include "reports/report.h"

namespace wf {
namespace {

using test::MemoryDataSet;
using test::RecordingSink;

// Expenses with a SUM in the summary band; the total's text is what the summary page shows.
struct TotalReport {
  MemoryDataSet expenses{QStringLiteral("tblExpenses")};
  TReport report;
  TRepExpr* total = nullptr;
  TRepDBText* amount = nullptr;

  explicit TotalReport(std::vector<double> amounts) {
    expenses.addField(QStringLiteral("ExpenseAmount"), ReportFieldKind::Currency);
    for (double a : amounts) expenses.addRow({a});
    report.DataSet = &expenses;
    for (auto [name, type] : {std::pair{"TitleBand1", BandType::rbTitle},
                              std::pair{"ColumnHeaderBand1", BandType::rbColumnHeader},
                              std::pair{"DetailBand1", BandType::rbDetail},
                              std::pair{"SummaryBand1", BandType::rbSummary}}) {
      TRepBand* band = report.addBand(QString::fromLatin1(name), type);
      band->Size = {type == BandType::rbTitle ? 388.94 : 105.83, 1899.71};
    }
    amount = report.band(BandType::rbDetail)->add<TRepDBText>(QStringLiteral("RepDBText9"));
    amount->Size = {44.98, 1587.5, 29.10, 277.81};
    amount->DataSet = &expenses;
    amount->DataField = QStringLiteral("ExpenseAmount");
    total = report.band(BandType::rbSummary)->add<TRepExpr>(QStringLiteral("RepExpr1"));
    total->Size = {44.98, 1587.5, 29.10, 373.06};
    total->AutoSize = true;
    total->Expression = QStringLiteral("SUM(ExpenseAmount)");
  }

  // The text the summary band printed on the last page.
  QString printedTotal(RecordingSink& sink) {
    const auto& texts = sink.pages.back()->texts;
    return texts.empty() ? QString() : texts.back().text;
  }
};

TEST(EngineGeneration, SumCoversEveryRecordAndRestartsWithEachRun) {
  TotalReport r({10.50, 2.25});
  RecordingSink first;
  r.report.GenerateReport(first);
  EXPECT_EQ(r.printedTotal(first), QStringLiteral("12.75"));
  // The detail cells show the field's display text.
  EXPECT_EQ(first.page(1).textsEqual(QStringLiteral("$10.50")).size(), 1u);

  RecordingSink second;
  r.report.GenerateReport(second);
  EXPECT_EQ(r.printedTotal(second), QStringLiteral("12.75"));
}

TEST(EngineGeneration, SumSpansPages) {
  std::vector<double> amounts(30, 1.5);
  TotalReport r(amounts);
  RecordingSink sink;
  r.report.GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 2u);
  EXPECT_EQ(r.printedTotal(sink), QStringLiteral("45"));
}

TEST(EngineGeneration, EmptyReportShowsZeroAndEmptyDetailFields) {
  TotalReport r({});
  RecordingSink sink;
  r.report.GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  ASSERT_EQ(sink.page(1).texts.size(), 1u);
  EXPECT_EQ(sink.page(1).texts[0].text, QStringLiteral("0"));
}

TEST(EngineGeneration, NoPageWhenEmptyReportsAreNotPrinted) {
  TotalReport r({});
  r.report.PrintIfEmpty = false;
  RecordingSink sink;
  r.report.GenerateReport(sink);
  EXPECT_TRUE(sink.pages.empty());
  EXPECT_TRUE(sink.ended);
}

TEST(EngineGeneration, OnPrintReplacesTheTextOfOneOutputOnly) {
  TotalReport r({1, 2});
  int calls = 0;
  r.total->OnPrint = [&calls](TRepTextControl*, QString& value) {
    ++calls;
    value = QStringLiteral("<") + value + QStringLiteral(">");
  };
  for (int run = 0; run < 2; ++run) {
    RecordingSink sink;
    r.report.GenerateReport(sink);
    EXPECT_EQ(r.printedTotal(sink), QStringLiteral("<3>"));
  }
  EXPECT_EQ(calls, 2);
}

TEST(EngineGeneration, ProgressIsReportedPerRecord) {
  TotalReport r({1, 2, 3, 4, 5, 6, 7});
  RecordingSink sink;
  r.report.GenerateReport(sink);
  EXPECT_EQ(sink.progressValues, (std::vector<int>{14, 28, 42, 57, 71, 85, 100}));
}

TEST(EngineGeneration, PendingEventsRunWhileRecordsArePrinted) {
  TotalReport r({1, 2, 3});
  bool fired = false;
  QTimer::singleShot(0, [&fired] { fired = true; });
  RecordingSink sink;
  bool firedBeforeTheLastRecord = false;
  sink.onProgress = [&](int percent) {
    if (percent < 100 && fired) firedBeforeTheLastRecord = true;
  };
  r.report.GenerateReport(sink);
  EXPECT_TRUE(firedBeforeTheLastRecord);
}

TEST(EngineGeneration, ARunInProgressCannotBeStartedAgain) {
  TotalReport r({1, 2});
  RecordingSink sink;
  RecordingSink nested;
  bool availableDuringRun = true;
  sink.onProgress = [&](int) {
    availableDuringRun = r.report.Available();
    r.report.GenerateReport(nested);
  };
  r.report.GenerateReport(sink);
  EXPECT_FALSE(availableDuringRun);
  EXPECT_FALSE(nested.began);
  EXPECT_TRUE(r.report.Available());
}

TEST(EngineGeneration, CancellingThePageSinkStopsBeforeTheNextRecordAndKeepsThePages) {
  TotalReport r({1, 2, 3, 4});
  RecordingSink sink;
  sink.onProgress = [&sink](int percent) {
    if (percent == 50) sink.cancel();
  };
  r.report.GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  // Two amount cells, no total: the loop stopped before the third record.
  EXPECT_EQ(sink.page(1).texts.size(), 2u);
  EXPECT_EQ(sink.finishedPages, 1);
  EXPECT_TRUE(sink.ended);
  EXPECT_FALSE(sink.aborted);
  EXPECT_FALSE(r.report.Cancelled());
}

TEST(EngineGeneration, AFailureEndsTheRunWithThePagesSoFarAndTheReportRecovers) {
  TotalReport r({1, 2});
  r.total->OnPrint = [](TRepTextControl*, QString&) { throw std::runtime_error("no money"); };
  RecordingSink failing;
  EXPECT_THROW(r.report.GenerateReport(failing), std::runtime_error);
  EXPECT_TRUE(failing.ended);
  EXPECT_TRUE(r.report.Available());

  r.total->OnPrint = nullptr;
  RecordingSink again;
  r.report.GenerateReport(again);
  EXPECT_EQ(r.printedTotal(again), QStringLiteral("3"));
}

TEST(EngineGeneration, NamedValuesFollowPagesAndTitle) {
  TotalReport r(std::vector<double>(30, 1));
  r.report.ReportTitle = QStringLiteral("Expenses");
  auto* page = r.report.band(BandType::rbColumnHeader)->add<TRepExpr>(QStringLiteral("Page"));
  page->Size = {44.98, 21.17, 29.10, 100};
  page->Expression = QStringLiteral("PageNumber");
  auto* title = r.report.band(BandType::rbTitle)->add<TRepExpr>(QStringLiteral("Title"));
  title->Size = {44.98, 21.17, 29.10, 600};
  title->Expression = QStringLiteral("REPORTTITLE");
  RecordingSink sink;
  r.report.GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 2u);
  EXPECT_EQ(sink.page(1).textsEqual(QStringLiteral("Expenses")).size(), 1u);
  EXPECT_EQ(sink.page(1).textsEqual(QStringLiteral("1")).size(), 1u);
  EXPECT_EQ(sink.page(2).textsEqual(QStringLiteral("2")).size(), 1u);
}

TEST(EngineGeneration, AClosedTableGivesTheEmptyReport) {
  TotalReport r({5});
  r.expenses.setOpen(false);
  RecordingSink sink;
  r.report.GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  EXPECT_EQ(r.printedTotal(sink), QStringLiteral("0"));
}

TEST(EngineGeneration, MarginsThatLeaveNoRoomAreDropped) {
  TotalReport r({1});
  r.report.Page.Values.LeftMargin = 1500;
  r.report.Page.Values.RightMargin = 1500;
  RecordingSink sink;
  r.report.GenerateReport(sink);
  ASSERT_FALSE(sink.page(1).fills.empty());
  EXPECT_EQ(sink.page(1).fills.front().rect.left(), 0);
  EXPECT_EQ(r.report.Page.Values.RightMargin, 0);
}

}  // namespace
}  // namespace wf
