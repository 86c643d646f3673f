#include "forms/glyphs.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

namespace wf {

namespace {

// Never used inside a glyph, so it can stand for "transparent".
const QColor kTransparentKey(255, 0, 255);

int sizeOf(Glyph which) {
  switch (which) {
    case Glyph::Vehicle:
    case Glyph::Service:
    case Glyph::Expense: return 48;
    case Glyph::Edit: return 24;
    default: return 16;
  }
}

// Each draw function paints a glyph of s by s pixels on a grid of 16 by 16 units (u = s / 16),
// so one drawing serves every size. Shapes are drawn without antialiasing: blended edges would
// not match the transparent key and would show as a pink fringe.
void drawVehicle(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setBrush(QColor(30, 90, 170));
  p.setPen(QColor(10, 40, 90));
  p.drawRect(QRectF(1 * u, 7 * u, 14 * u, 4 * u));
  p.drawRect(QRectF(4 * u, 4 * u, 7 * u, 3 * u));
  p.setBrush(QColor(190, 220, 250));
  p.drawRect(QRectF(5 * u, 5 * u, 2.5 * u, 2 * u));
  p.drawRect(QRectF(8 * u, 5 * u, 2.5 * u, 2 * u));
  p.setBrush(QColor(40, 40, 40));
  p.drawEllipse(QRectF(3 * u, 10 * u, 3 * u, 3 * u));
  p.drawEllipse(QRectF(10 * u, 10 * u, 3 * u, 3 * u));
}

void drawWrench(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QPen(QColor(90, 90, 100), 2.2 * u));
  p.drawLine(QPointF(4 * u, 12 * u), QPointF(11 * u, 5 * u));
  p.setPen(QColor(60, 60, 70));
  p.setBrush(QColor(150, 150, 160));
  p.drawEllipse(QRectF(9 * u, 1.5 * u, 5 * u, 5 * u));
  p.setBrush(kTransparentKey);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(11 * u, 1.5 * u, 1.6 * u, 2.5 * u));
  p.setBrush(QColor(200, 120, 30));
  p.setPen(QColor(120, 60, 10));
  p.drawEllipse(QRectF(2 * u, 10.5 * u, 3 * u, 3 * u));
}

void drawCoins(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QColor(140, 100, 0));
  p.setBrush(QColor(240, 190, 40));
  for (int i = 0; i < 3; ++i)
    p.drawEllipse(QRectF(2 * u + i * 3 * u, 9 * u - i * 3 * u, 6 * u, 5 * u));
  p.setPen(QColor(40, 120, 40));
  p.setBrush(QColor(110, 190, 90));
  p.drawRect(QRectF(9 * u, 9 * u, 6 * u, 4 * u));
}

void drawDoorArrow(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QColor(80, 50, 20));
  p.setBrush(QColor(170, 120, 60));
  p.drawRect(QRectF(2 * u, 1 * u, 7 * u, 13 * u));
  p.setPen(QPen(QColor(0, 110, 0), 2 * u));
  p.drawLine(QPointF(7 * u, 8 * u), QPointF(14 * u, 8 * u));
  p.drawLine(QPointF(11 * u, 5 * u), QPointF(14 * u, 8 * u));
  p.drawLine(QPointF(11 * u, 11 * u), QPointF(14 * u, 8 * u));
}

void drawPage(QPainter& p, int s, const QColor& accent) {
  const double u = s / 16.0;
  p.setPen(QColor(90, 90, 90));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3 * u, 1 * u, 10 * u, 14 * u));
  p.setPen(accent);
  for (int line = 0; line < 4; ++line)
    p.drawLine(QPointF(5 * u, (4 + 2.5 * line) * u), QPointF(11 * u, (4 + 2.5 * line) * u));
}

void drawPencil(QPainter& p, int s) {
  const double u = s / 16.0;
  QPainterPath pencil;
  pencil.moveTo(2 * u, 14 * u);
  pencil.lineTo(3 * u, 10 * u);
  pencil.lineTo(11 * u, 2 * u);
  pencil.lineTo(14 * u, 5 * u);
  pencil.lineTo(6 * u, 13 * u);
  pencil.closeSubpath();
  p.setPen(QColor(120, 80, 0));
  p.setBrush(QColor(245, 190, 50));
  p.drawPath(pencil);
}

void drawCross(QPainter& p, int s, const QColor& colour) {
  const double u = s / 16.0;
  p.setPen(QPen(colour, 2.5 * u));
  p.drawLine(QPointF(3 * u, 3 * u), QPointF(13 * u, 13 * u));
  p.drawLine(QPointF(13 * u, 3 * u), QPointF(3 * u, 13 * u));
}

void drawPrinter(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QColor(60, 60, 60));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4 * u, 1 * u, 8 * u, 6 * u));
  p.setBrush(QColor(150, 150, 160));
  p.drawRect(QRectF(1 * u, 6 * u, 14 * u, 6 * u));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4 * u, 10 * u, 8 * u, 5 * u));
}

void drawDisk(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QColor(20, 40, 90));
  p.setBrush(QColor(40, 80, 170));
  p.drawRect(QRectF(1 * u, 1 * u, 14 * u, 14 * u));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4 * u, 1 * u, 8 * u, 5 * u));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(4 * u, 9 * u, 8 * u, 6 * u));
}

void drawTick(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QPen(QColor(0, 120, 0), 2.5 * u));
  p.drawLine(QPointF(2 * u, 9 * u), QPointF(6 * u, 13 * u));
  p.drawLine(QPointF(6 * u, 13 * u), QPointF(14 * u, 3 * u));
}

void drawSheets(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QColor(70, 70, 70));
  p.setBrush(QColor(220, 230, 245));
  p.drawRect(QRectF(1 * u, 1 * u, 9 * u, 10 * u));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6 * u, 5 * u, 9 * u, 10 * u));
}

void drawClipboard(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QColor(90, 60, 20));
  p.setBrush(QColor(190, 140, 70));
  p.drawRect(QRectF(2 * u, 2 * u, 12 * u, 13 * u));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4 * u, 4 * u, 8 * u, 9 * u));
  p.setBrush(QColor(120, 120, 120));
  p.drawRect(QRectF(6 * u, 1 * u, 4 * u, 2 * u));
}

void drawPlus(QPainter& p, int s) {
  const double u = s / 16.0;
  p.setPen(QPen(QColor(0, 100, 200), 3 * u));
  p.drawLine(QPointF(8 * u, 2 * u), QPointF(8 * u, 14 * u));
  p.drawLine(QPointF(2 * u, 8 * u), QPointF(14 * u, 8 * u));
}

}  // namespace

QImage glyph(Glyph which) {
  const int s = sizeOf(which);
  QImage image(s, s, QImage::Format_RGB32);
  image.fill(kTransparentKey);
  QPainter p(&image);
  switch (which) {
    case Glyph::Vehicle: drawVehicle(p, s); break;
    case Glyph::Service: drawWrench(p, s); break;
    case Glyph::Expense: drawCoins(p, s); break;
    case Glyph::Exit: drawDoorArrow(p, s); break;
    case Glyph::New: drawPlus(p, s); break;
    case Glyph::Edit: drawPencil(p, s); break;
    case Glyph::Delete: drawCross(p, s, QColor(200, 0, 0)); break;
    case Glyph::Print: drawPrinter(p, s); break;
    case Glyph::Save: drawDisk(p, s); break;
    case Glyph::Cancel: drawCross(p, s, QColor(160, 40, 40)); break;
    case Glyph::Close: drawTick(p, s); break;
    case Glyph::Copy: drawSheets(p, s); break;
    case Glyph::Paste: drawClipboard(p, s); break;
    case Glyph::ServiceTab: drawWrench(p, s); break;
    case Glyph::ExpenseTab: drawPage(p, s, QColor(0, 120, 0)); break;
  }
  p.end();
  // The bottom-left pixel names the transparent colour.
  image.setPixelColor(0, s - 1, kTransparentKey);
  return image;
}

QIcon glyphIcon(Glyph which) {
  QPixmap pixmap = QPixmap::fromImage(glyph(which));
  pixmap.setMask(pixmap.createMaskFromColor(kTransparentKey, Qt::MaskInColor));
  return QIcon(pixmap);
}

}  // namespace wf
