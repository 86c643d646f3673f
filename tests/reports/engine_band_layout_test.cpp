// The page-breaking arithmetic on its own: where bands go, when pages start, what the layout
// reports about the page, for bands of given heights.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <vector>

#include "reports/band_layout.h"

namespace wf {
namespace {

struct Band : LayoutBand {
  Band(BandType t, double h, bool e = true) : type(t), height(h), enabled(e) {}
  QChar letter;
  BandType bandType() const override { return type; }
  double bandHeight() const override { return height; }
  bool bandEnabled() const override { return enabled; }
  BandType type;
  double height;
  bool enabled;
};

// Records "p1" for a new page, "/" for a finished one and "<letter><y>" per band.
struct Recorder : BandLayoutClient {
  void pageStarted(int pageNumber) override { events << QStringLiteral("p%1").arg(pageNumber); }
  void pageFinished() override { events << QStringLiteral("/"); }
  void columnStarted(int) override {}
  void printBand(const LayoutBand& band, int x, int y) override {
    EXPECT_EQ(x, 100);
    events << QStringLiteral("%1%2").arg(static_cast<const Band&>(band).letter).arg(y);
  }
  QStringList events;
};

struct Lettered : Band {
  Lettered(char l, BandType t, double h, bool e = true) : Band(t, h, e) { letter = QLatin1Char(l); }
};

struct Case {
  const char* name;
  std::vector<Lettered> bands;  // emitted in this order after begin()
  const char* events;
};

TEST(BandLayout, PlacesBandsAndBreaksPages) {
  const Case cases[] = {
      {"heights round to whole units",
       {{'a', BandType::rbDetail, 388.94},
        {'b', BandType::rbDetail, 105.5},
        {'c', BandType::rbDetail, 1}},
       "p1 a100 b489 c595 /"},
      {"a disabled band takes no room",
       {{'a', BandType::rbDetail, 100},
        {'x', BandType::rbDetail, 500, false},
        {'b', BandType::rbDetail, 100}},
       "p1 a100 b200 /"},
      {"a band that does not fit starts the next page",
       {{'a', BandType::rbDetail, 2700},
        {'b', BandType::rbDetail, 71},
        {'c', BandType::rbDetail, 1}},
       "p1 a100 / p2 b100 c171 /"},
      {"exactly the space left still fits",
       {{'a', BandType::rbDetail, 2700}, {'b', BandType::rbDetail, 70}},
       "p1 a100 b2800 /"},
      {"a band taller than the band area is printed where it is",
       {{'a', BandType::rbDetail, 500},
        {'b', BandType::rbDetail, 2771},
        {'c', BandType::rbDetail, 10}},
       "p1 a100 b600 / p2 c100 /"},
      {"a page footer never moves to a new page",
       {{'a', BandType::rbDetail, 2700}, {'f', BandType::rbPageFooter, 200}},
       "p1 a100 f2800 /"},
  };
  ReportPageValues page;  // A4, margins of 100
  for (const auto& c : cases) {
    Recorder recorder;
    BandLayout layout(page, recorder);
    layout.begin();
    for (const auto& band : c.bands) layout.emitBand(band);
    layout.finish(false);
    EXPECT_EQ(recorder.events.join(QLatin1Char(' ')), QString::fromLatin1(c.events)) << c.name;
  }
}

TEST(BandLayout, ColumnHeaderRepeatsOnLaterPagesAndColumnTopFollowsTheTitle) {
  Recorder recorder;
  BandLayout layout(ReportPageValues(), recorder);
  Lettered title('t', BandType::rbTitle, 388.94);
  Lettered header('h', BandType::rbColumnHeader, 105.83);
  Lettered row('r', BandType::rbDetail, 1300);
  layout.setTitle(&title);
  layout.setColumnHeader(&header);
  layout.begin();
  EXPECT_FALSE(layout.hasPage());
  EXPECT_EQ(layout.SpaceLeft(), 0);
  layout.emitBand(title);
  EXPECT_EQ(layout.ColumnTop(), 489);
  layout.emitBand(row);
  layout.emitBand(row);
  layout.emitBand(row);
  EXPECT_EQ(layout.ColumnTop(), 100);
  EXPECT_EQ(layout.SpaceLeft(), 2870 - 2806);
  layout.finish(true);
  EXPECT_TRUE(layout.LastPage());
  // A cancelled run leaves its last page unfinished.
  EXPECT_EQ(recorder.events.join(QLatin1Char(' ')),
            QStringLiteral("p1 t100 r489 / p2 h100 r206 r1506"));
  EXPECT_EQ(layout.PageCount(), 2);
}

}  // namespace
}  // namespace wf
