#include "controls/gif_composer.h"
#include "controls/busy_wheel.h"
#include "gif_test_builder.h"

#include <gtest/gtest.h>

namespace wf {
namespace {

using test::GifBuilder;

const QRgb kWhite = qRgb(255, 255, 255), kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0),
           kBlue = qRgb(0, 0, 255);
const std::vector<QRgb> kColors = {kWhite, kRed, kGreen, kBlue};

TGIFImage decode(const QByteArray& data) {
  TGIFImage image;
  image.loadFromData(data);
  return image;
}

// Red 4 by 4 screen (kept), then a green 2 by 2 square at (1,1) with the given disposal, then a
// blue pixel at (0,0).
TGIFImage threeFrames(GifDisposal middleDisposal) {
  return decode(GifBuilder()
                    .screen(4, 4, kColors)
                    .control(10, GifDisposal::Keep)
                    .image(QRect(0, 0, 4, 4), std::vector<uint8_t>(16, 1))
                    .control(10, middleDisposal)
                    .image(QRect(1, 1, 2, 2), std::vector<uint8_t>(4, 2))
                    .control(10, GifDisposal::Keep)
                    .image(QRect(0, 0, 1, 1), {3})
                    .trailer()
                    .data());
}

TEST(GifComposerTest, PlayingInOrderDrawsOverThePreviousFrame) {
  const TGIFImage wheel = decode(busyWheelGif());
  GifComposer playing;
  for (int n = 0; n < wheel.frameCount(); ++n) {
    const QImage incremental = playing.compose(wheel, n, true).copy();
    EXPECT_EQ(playing.lastWasIncremental(), n > 0) << n;
    GifComposer fresh;  // replays frames 0 .. n-1 first
    EXPECT_EQ(fresh.compose(wheel, n, true), incremental) << n;
    EXPECT_FALSE(fresh.lastWasIncremental());
    EXPECT_EQ(fresh.transparentColor(), kWhite);
  }
  // After the last frame, frame 0 starts a new picture.
  playing.compose(wheel, 0, true);
  EXPECT_FALSE(playing.lastWasIncremental());
  EXPECT_EQ(playing.cachedIndex(), 0);
}

TEST(GifComposerTest, DisposalMethods) {
  struct Case {
    const char* name;
    GifDisposal disposal;
    QRgb underSquare;  // pixel (1,1) once the blue frame is drawn
  };
  const Case cases[] = {
      {"none keeps the square", GifDisposal::None, kGreen},
      {"keep keeps the square", GifDisposal::Keep, kGreen},
      {"background clears the square", GifDisposal::Background, kWhite},
      {"previous restores the red", GifDisposal::Previous, kRed},
  };
  for (const Case& c : cases) {
    const TGIFImage image = threeFrames(c.disposal);
    GifComposer playing;
    playing.compose(image, 0, true);
    playing.compose(image, 1, true);
    const QImage& played = playing.compose(image, 2, true);
    EXPECT_EQ(playing.lastWasIncremental(), c.disposal != GifDisposal::Previous) << c.name;
    EXPECT_EQ(played.pixel(1, 1), c.underSquare) << c.name;
    EXPECT_EQ(played.pixel(0, 0), kBlue) << c.name;
    EXPECT_EQ(played.pixel(3, 3), kRed) << c.name;
    GifComposer fresh;
    EXPECT_EQ(fresh.compose(image, 2, true), played) << c.name;
  }
}

TEST(GifComposerTest, TransparentColourMarksAFreshPicture) {
  const TGIFImage image = decode(GifBuilder()
                                     .screen(2, 1, kColors)
                                     .control(10, GifDisposal::Keep, 3)
                                     .image(QRect(0, 0, 2, 1), {3, 1})
                                     .trailer()
                                     .data());
  GifComposer composer;
  const QImage& picture = composer.compose(image, 0, true);
  // The transparent pixel shows the background, which is the transparent colour itself.
  EXPECT_EQ(picture.pixel(0, 0), kBlue);
  EXPECT_EQ(picture.pixel(1, 0), kRed);
  EXPECT_EQ(composer.transparentColor(), kBlue);
  composer.reset();
  composer.compose(image, 0, false);
  EXPECT_FALSE(composer.transparentColor());
}

TEST(GifComposerTest, BackgroundWithoutTransparentColour) {
  const QByteArray data =
      GifBuilder().screen(2, 1, kColors, "89a", 2).image(QRect(1, 0, 1, 1), {1}).trailer().data();
  TGIFImage image = decode(data);
  GifComposer composer;
  // A transparent picture starts on its screen background, an opaque one on the window colour.
  EXPECT_EQ(composer.compose(image, 0, true).pixel(0, 0), kGreen);
  EXPECT_FALSE(composer.transparentColor());
  image.setTransparent(false);
  composer.reset();
  EXPECT_EQ(composer.compose(image, 0, true, qRgb(1, 2, 3)).pixel(0, 0), qRgb(1, 2, 3));
  // Indexes beyond the end are cut to the last frame.
  EXPECT_EQ(composer.compose(image, 7, true).pixel(1, 0), kRed);
}

}  // namespace
}  // namespace wf
