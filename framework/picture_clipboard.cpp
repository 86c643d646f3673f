#include "framework/picture_clipboard.h"

#include "framework/bitmap_reader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <stdexcept>

namespace wf {
namespace {

QClipboard& clipboard() {
  QClipboard* board = QGuiApplication::clipboard();
  if (board == nullptr) throw std::runtime_error("Cannot open clipboard");
  return *board;
}

}  // namespace

bool clipboardHasBitmap() {
  QClipboard* board = QGuiApplication::clipboard();
  if (board == nullptr) return false;
  const QMimeData* data = board->mimeData();
  return data != nullptr && data->hasImage();
}

QImage clipboardBitmap() {
  const QMimeData* data = clipboard().mimeData();
  if (data == nullptr) throw std::runtime_error("Cannot open clipboard");
  const QImage image = qvariant_cast<QImage>(data->imageData());
  if (image.isNull()) throw BitmapError();
  // A 24-bit bitmap has no alpha; the colour channels are kept as they are.
  return image.convertToFormat(QImage::Format_RGB32);
}

void putBitmapOnClipboard(const QImage& bitmap) {
  // An empty image would replace what the clipboard held with nothing.
  if (bitmap.isNull()) throw std::runtime_error("There is no bitmap to put on the clipboard");
  clipboard().setImage(bitmap.convertToFormat(QImage::Format_RGB32));
}

}  // namespace wf
