// The invoice preview holder: one A4 page with the picture at its natural size, centred and cut
// to the page area between the 3.5 mm margins.
#include <gtest/gtest.h>

#include "report_test_fixtures.h"
#include "reports/frm_invoice_preview.h"

namespace wf {
namespace {

QImage picture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::blue);
  return image;
}

TEST(InvoicePreview, PictureIsCentredOnOnePageAndClippedToTheArea) {
  TfrmInvoicePreview holder;
  EXPECT_EQ(holder.windowTitle(), QStringLiteral("Invoice Preview"));
  // The area between the margins is 768 by 1100 screen pixels from (13, 13).
  const QRect area(13, 13, 768, 1100);
  struct Case {
    QSize size;
    QRect target;
  };
  for (const Case& c : {Case{{1000, 1400}, QRect(13 - 116, 13 - 150, 1000, 1400)},
                        Case{{200, 100}, QRect(13 + 284, 13 + 500, 200, 100)}}) {
    holder.RepImage1->Picture = picture(c.size.width(), c.size.height());
    test::RecordingSink sink(96);
    holder.Report1->GenerateReport(sink);
    ASSERT_EQ(sink.pages.size(), 1u);
    ASSERT_EQ(sink.page(1).pictures.size(), 1u);
    EXPECT_EQ(sink.page(1).pictures[0].target, c.target);
    EXPECT_EQ(sink.page(1).pictures[0].clip, area);
    // The white band under the picture covers the area.
    ASSERT_FALSE(sink.page(1).fills.empty());
    EXPECT_EQ(sink.page(1).fills[0].rect, area);
  }
}

TEST(InvoicePreview, WithoutAPictureThePageIsBlank) {
  TfrmInvoicePreview holder;
  test::RecordingSink sink(96);
  holder.Report1->GenerateReport(sink);
  ASSERT_EQ(sink.pages.size(), 1u);
  EXPECT_TRUE(sink.page(1).pictures.empty());
  EXPECT_TRUE(sink.ended);
}

}  // namespace
}  // namespace wf
