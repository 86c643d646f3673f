#include "support/sample_page.h"

#include <QFont>

#include "reports/emf_writer.h"
#include "reports/page_canvas.h"

namespace wf {

QImage samplePicture() {
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(QColor(220, 0, 0));
  for (int y = 0; y < 20; ++y) {
    for (int x = 20; x < 40; ++x) image.setPixelColor(x, y, QColor(0, 0, 200));
  }
  return image;
}

void drawSamplePage(PageCanvas& canvas) {
  using namespace sample;
  canvas.fillRect(QRect(0, 0, 794, 1123), Qt::white);
  // A frame as the engine draws one: four one-pixel strips inside the rectangle.
  canvas.fillRect(QRect(kFrame.left(), kFrame.top(), kFrame.width(), 1), Qt::black);
  canvas.fillRect(QRect(kFrame.left(), kFrame.bottom(), kFrame.width(), 1), Qt::black);
  canvas.fillRect(QRect(kFrame.left(), kFrame.top(), 1, kFrame.height()), Qt::black);
  canvas.fillRect(QRect(kFrame.right(), kFrame.top(), 1, kFrame.height()), Qt::black);
  canvas.fillRect(kBand, QColor(200, 200, 200));

  QFont arial(QStringLiteral("Arial"));
  arial.setPointSize(10);
  canvas.setFont(arial);
  canvas.drawText(kLeftText.x(), kLeftText.y(), TextAnchor::Left, QStringLiteral("Service Report"),
                  Qt::black);
  arial.setBold(true);
  canvas.setFont(arial);
  canvas.drawText(350, 210, TextAnchor::Center, QStringLiteral("Total: 12.75"), Qt::red);
  arial.setBold(false);
  arial.setPointSize(14);
  canvas.setFont(arial);
  canvas.drawText(590, 230, TextAnchor::Right, QStringLiteral("Odometer 123,456 km"),
                  QColor(0, 0, 128));
  canvas.drawPicture(kPicture, samplePicture());

  canvas.setClipRect(kClip);
  canvas.fillRect(QRect(0, 400, 400, 100), QColor(255, 255, 0));
  canvas.drawText(40, kClip.top() + 4, TextAnchor::Left,
                  QStringLiteral("A description far too wide for its box"), Qt::black);
  canvas.clearClip();
  // Drawn after the clip ends, so it must not be cut.
  canvas.fillRect(QRect(200, 430, 20, 20), Qt::black);
}

QByteArray recordSamplePage() {
  EmfWriter writer;
  drawSamplePage(writer);
  return writer.finish();
}

QByteArray recordFilledPage(const QRect& rect, const QColor& color) {
  EmfWriter writer;
  writer.fillRect(rect, color);
  return writer.finish();
}

}  // namespace wf
