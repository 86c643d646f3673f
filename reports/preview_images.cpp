#include "reports/preview_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace wf {

namespace {

const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kBlue(0, 0, 160);
const QColor kGrey(128, 128, 128);

void page(QPainter& p, const QRect& r) {
  p.setPen(kInk);
  p.setBrush(kPaper);
  p.drawRect(r);
}

void magnifier(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(200, 230, 255));
  p.drawEllipse(QRect(1, 1, 9, 9));
  p.setPen(QPen(kInk, 2));
  p.drawLine(9, 9, 14, 14);
}

void triangle(QPainter& p, bool pointsLeft, int x) {
  QPolygon shape;
  if (pointsLeft)
    shape << QPoint(x + 5, 3) << QPoint(x + 5, 12) << QPoint(x, 7) << QPoint(x, 8);
  else
    shape << QPoint(x, 3) << QPoint(x, 12) << QPoint(x + 5, 8) << QPoint(x + 5, 7);
  p.setPen(kBlue);
  p.setBrush(kBlue);
  p.drawPolygon(shape);
}

void bar(QPainter& p, int x) { p.fillRect(QRect(x, 3, 2, 10), kBlue); }

void printer(QPainter& p) {
  page(p, QRect(4, 1, 7, 5));
  p.setPen(kInk);
  p.setBrush(QColor(192, 192, 192));
  p.drawRect(QRect(1, 6, 13, 6));
  page(p, QRect(4, 10, 7, 4));
  p.fillRect(QRect(11, 8, 2, 1), QColor(0, 160, 0));
}

void draw(QPainter& p, PreviewImage image) {
  switch (image) {
    case PreviewImage::ZoomToFit:
      page(p, QRect(4, 2, 9, 12));
      magnifier(p);
      break;
    case PreviewImage::Zoom100: {
      QFont f(QStringLiteral("Sans Serif"));
      f.setPixelSize(7);
      f.setBold(true);
      p.setFont(f);
      p.setPen(kInk);
      page(p, QRect(0, 3, 15, 9));
      p.drawText(QRect(0, 3, 16, 10), Qt::AlignCenter, QStringLiteral("100"));
      break;
    }
    case PreviewImage::ZoomToWidth:
      page(p, QRect(0, 4, 15, 10));
      p.setPen(kBlue);
      p.drawLine(2, 1, 13, 1);
      p.drawLine(2, 0, 2, 2);
      p.drawLine(13, 0, 13, 2);
      break;
    case PreviewImage::First:
      bar(p, 3);
      triangle(p, true, 6);
      break;
    case PreviewImage::Previous: triangle(p, true, 5); break;
    case PreviewImage::Next: triangle(p, false, 6); break;
    case PreviewImage::Last:
      triangle(p, false, 4);
      bar(p, 11);
      break;
    case PreviewImage::PrinterSetup:
      printer(p);
      p.setPen(QPen(kGrey, 2));
      p.drawLine(12, 12, 15, 15);
      break;
    case PreviewImage::Print: printer(p); break;
    case PreviewImage::Load:
      p.setPen(kInk);
      p.setBrush(QColor(240, 200, 80));
      p.drawRect(QRect(1, 5, 13, 9));
      p.drawRect(QRect(1, 3, 5, 2));
      p.setPen(QPen(kBlue, 2));
      p.drawLine(10, 1, 10, 7);
      break;
    case PreviewImage::Save:
      p.setPen(kInk);
      p.setBrush(kBlue);
      p.drawRect(QRect(1, 1, 13, 13));
      p.fillRect(QRect(4, 2, 8, 5), kPaper);
      p.fillRect(QRect(5, 10, 6, 4), QColor(192, 192, 192));
      break;
  }
}

}  // namespace

QPixmap previewImage(int index) {
  if (index < 0 || index >= kPreviewImageCount) return QPixmap();
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  draw(painter, static_cast<PreviewImage>(index));
  return pixmap;
}

}  // namespace wf
