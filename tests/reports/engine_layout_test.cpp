// Where the engine puts the bands of a list report (title, column header, detail rows,
// summary; margins of 100) for different record counts. The recording pages run at 254 dpi, so
// device pixels are native units.
#include <gtest/gtest.h>

#include <QStringList>

#include "report_test_fixtures.h"
#include "reports/rep_db_text.h"
#include "reports/report.h"

namespace wf {
namespace {

using test::MemoryDataSet;
using test::RecordingSink;

const QColor kTitle(1, 0, 0), kHeader(2, 0, 0), kDetail(3, 0, 0), kSummary(4, 0, 0);

struct ListReport {
  MemoryDataSet table{QStringLiteral("tblRows")};
  TReport report;

  explicit ListReport(int records) {
    table.addField(QStringLiteral("RowNumber"), ReportFieldKind::Integer);
    for (int i = 1; i <= records; ++i) table.addRow({i});
    report.DataSet = &table;
    addBand(QStringLiteral("TitleBand1"), BandType::rbTitle, 388.94, kTitle);
    addBand(QStringLiteral("ColumnHeaderBand1"), BandType::rbColumnHeader, 105.83, kHeader);
    TRepBand* detail = addBand(QStringLiteral("DetailBand1"), BandType::rbDetail, 105.83, kDetail);
    auto* number = detail->add<TRepDBText>(QStringLiteral("RepDBText1"));
    number->Size = {44.98, 21.17, 29.10, 142.88};
    number->DataSet = &table;
    number->DataField = QStringLiteral("RowNumber");
    addBand(QStringLiteral("SummaryBand1"), BandType::rbSummary, 105.83, kSummary);
  }

  TRepBand* addBand(const QString& name, BandType type, double height, const QColor& color) {
    TRepBand* band = report.addBand(name, type);
    band->Size = {height, 1899.71};
    band->Color = color;
    return band;
  }
};

// One page as "T100 C489 D595x21 S2715": band letter and top y, runs of detail rows folded
// into their first y and their count.
QString describePage(const test::RecordingCanvas& page) {
  QStringList parts;
  int detailRun = 0;
  for (const auto& fill : page.fills) {
    QChar letter;
    if (fill.color == kTitle)
      letter = QLatin1Char('T');
    else if (fill.color == kHeader)
      letter = QLatin1Char('C');
    else if (fill.color == kDetail)
      letter = QLatin1Char('D');
    else if (fill.color == kSummary)
      letter = QLatin1Char('S');
    else
      continue;
    EXPECT_EQ(fill.rect.left(), 100);
    EXPECT_EQ(fill.rect.width(), 1900);
    if (letter == QLatin1Char('D') && detailRun > 0) {
      ++detailRun;
      parts.back() =
          parts.back().section(QLatin1Char('x'), 0, 0) + QStringLiteral("x%1").arg(detailRun);
      continue;
    }
    detailRun = letter == QLatin1Char('D') ? 1 : 0;
    parts << QStringLiteral("%1%2").arg(letter).arg(fill.rect.top()) +
                 (detailRun ? QStringLiteral("x1") : QString());
  }
  return parts.join(QLatin1Char(' '));
}

struct LayoutCase {
  int records;
  QStringList pages;
};

class EngineLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(EngineLayoutTest, BandsLandWhereThePageBreaksPutThem) {
  const LayoutCase& c = GetParam();
  ListReport list(c.records);
  RecordingSink sink;
  list.report.GenerateReport(sink);

  ASSERT_EQ(static_cast<int>(sink.pages.size()), c.pages.size());
  EXPECT_EQ(sink.finishedPages, c.pages.size());
  EXPECT_TRUE(sink.ended);
  EXPECT_FALSE(sink.aborted);
  for (int p = 1; p <= c.pages.size(); ++p)
    EXPECT_EQ(describePage(sink.page(p)), c.pages[p - 1]) << "page " << p;
  EXPECT_EQ(list.report.PageCount(), c.pages.size());
  EXPECT_TRUE(list.report.LastPage());
  EXPECT_TRUE(list.report.Available());
}

INSTANTIATE_TEST_SUITE_P(
    ListReports, EngineLayoutTest,
    ::testing::Values(
        // No record: title, one empty detail band and the summary, but no column header.
        LayoutCase{0, {"T100 D489x1 S595"}}, LayoutCase{1, {"T100 C489 D595x1 S701"}},
        // 20 rows end at 2715: 155 units are left, the summary fits.
        LayoutCase{20, {"T100 C489 D595x20 S2715"}},
        // The 21st row ends at 2821, leaving 49: the summary moves under a repeated header.
        LayoutCase{21, {"T100 C489 D595x21", "C100 S206"}},
        LayoutCase{22, {"T100 C489 D595x21", "C100 D206x1 S312"}},
        // Later pages hold 25 rows (206 + 25 x 106 = 2856).
        LayoutCase{46, {"T100 C489 D595x21", "C100 D206x25", "C100 S206"}},
        LayoutCase{71, {"T100 C489 D595x21", "C100 D206x25", "C100 D206x25", "C100 S206"}}),
    [](const auto& info) { return "Records" + std::to_string(info.param.records); });

TEST(EngineLayout, FortySixRowsSplitAfterTheTwentyFirst) {
  ListReport list(46);
  RecordingSink sink;
  list.report.GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 3u);
  const auto rowNumbers = [&](int page) {
    QStringList numbers;
    for (const auto& text : sink.page(page).texts) numbers << text.text;
    return numbers;
  };
  QStringList first, second;
  for (int i = 1; i <= 21; ++i) first << QString::number(i);
  for (int i = 22; i <= 46; ++i) second << QString::number(i);
  EXPECT_EQ(rowNumbers(1), first);
  EXPECT_EQ(rowNumbers(2), second);
  EXPECT_TRUE(rowNumbers(3).isEmpty());
  // The cursor stays on the last record.
  EXPECT_TRUE(list.table.eof());
  EXPECT_EQ(list.table.current(), 45);
}

TEST(EngineLayout, ScreenFactorPlacesTheTitleAndHeaderInPixels) {
  ListReport list(1);
  RecordingSink sink(96);
  list.report.GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  std::vector<QRect> bands;
  for (const auto& fill : sink.page(1).fills)
    if (fill.color != Qt::white) bands.push_back(fill.rect);
  ASSERT_EQ(bands.size(), 4u);
  // 100..489 native is 38..185 px; the band is 718 px wide (1899.71 native).
  EXPECT_EQ(bands[0], QRect(38, 38, 718, 147));
  EXPECT_EQ(bands[1], QRect(38, 185, 718, 40));
}

}  // namespace
}  // namespace wf
