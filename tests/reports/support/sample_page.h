// A page drawn through the page canvas with every kind of call the report engine makes: band
// fills, frame lines, text at the three anchors in plain and bold fonts, a picture, clipping.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>

namespace wf {

class PageCanvas;

// Where the sample page puts its marks, for tests that look for them.
namespace sample {
inline const QRect kFrame(100, 120, 300, 40);    // black outline, 1 pixel
inline const QRect kBand(100, 200, 500, 60);     // light grey fill
inline const QRect kPicture(420, 300, 120, 80);  // red/blue picture
inline const QRect kClip(50, 420, 60, 30);       // a wide text cut to this box
inline const QPoint kLeftText(110, 128);         // "Service Report" top-left
}  // namespace sample

void drawSamplePage(PageCanvas& canvas);
// A small picture with distinct halves: red on the left, blue on the right.
QImage samplePicture();
// A page recorded at 96 dpi with drawSamplePage.
QByteArray recordSamplePage();
// A page recording that draws one filled rectangle (a cheap page for file tests).
QByteArray recordFilledPage(const QRect& rect, const QColor& color);

}  // namespace wf
