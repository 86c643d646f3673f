#include "reports/emf_writer.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "reports/emf_format.h"

namespace wf {

using namespace emf;

namespace {
// Past this many live objects the cache is emptied, keeping the handle table small.
constexpr uint32_t kMaxSlots = 1024;

int32_t hundredthsOfMm(int pixels, int dpi) {
  return static_cast<int32_t>(std::lround(pixels * 2540.0 / dpi));
}
}  // namespace

EmfWriter::EmfWriter(QSize pageSize, int dpiX, int dpiY)
    : pageSize_(pageSize), dpiX_(std::max(1, dpiX)), dpiY_(std::max(1, dpiY)) {
  data_.reserve(4096);
  // The header's fields in their order (offsets in emf_format.h); finish() fills in the bounds,
  // the stream's size, and the counts of records and handles.
  ByteWriter w(data_);
  w.u32(EMR_HEADER);
  w.u32(kHeaderSize);
  w.rect(0, 0, -1, -1);  // bounds, filled in by finish()
  w.rect(0, 0, hundredthsOfMm(pageSize_.width(), dpiX_), hundredthsOfMm(pageSize_.height(), dpiY_));
  w.u32(kSignature);
  w.u32(kVersion);
  w.u32(0);  // Bytes
  w.u32(0);  // Records
  w.u16(0);  // Handles
  w.u16(0);
  w.u32(0);  // nDescription
  w.u32(0);  // offDescription
  w.u32(0);  // nPalEntries
  w.i32(pageSize_.width());
  w.i32(pageSize_.height());
  w.i32(static_cast<int32_t>(std::lround(pageSize_.width() * 25.4 / dpiX_)));
  w.i32(static_cast<int32_t>(std::lround(pageSize_.height() * 25.4 / dpiY_)));
  w.u32(0);  // cbPixelFormat
  w.u32(0);  // offPixelFormat
  w.u32(0);  // bOpenGL
  w.i32(static_cast<int32_t>(std::lround(pageSize_.width() * 25400.0 / dpiX_)));
  w.i32(static_cast<int32_t>(std::lround(pageSize_.height() * 25400.0 / dpiY_)));
  Q_ASSERT(w.size() == qsizetype(kHeaderSize));
  records_ = 1;

  setValue(EMR_SETBKMODE, kTransparent);
  selectObject(kStockNullPen);
  setFont(QFont());
}

void EmfWriter::beginRecord(uint32_t type, uint32_t size) {
  if (finished_) throw std::logic_error("EmfWriter: drawing after finish()");
  ByteWriter w(data_);
  w.u32(type);
  w.u32(size);
  ++records_;
}

void EmfWriter::setValue(uint32_t type, uint32_t value) {
  beginRecord(type, kSetValueSize);
  ByteWriter(data_).u32(value);
}

void EmfWriter::selectObject(uint32_t handle) { setValue(EMR_SELECTOBJECT, handle); }

uint32_t EmfWriter::newSlot() {
  if (nextSlot_ > kMaxSlots) releaseObjects();
  highestSlot_ = std::max(highestSlot_, nextSlot_);
  return nextSlot_++;
}

// Deletes every cached object. Selections saved by an open SAVEDC may then name deleted
// objects; the writer reselects before every use after a RESTOREDC, so they are never used.
void EmfWriter::releaseObjects() {
  selectObject(kStockNullBrush);
  selectObject(kStockSystemFont);
  for (uint32_t slot = 1; slot < nextSlot_; ++slot) setValue(EMR_DELETEOBJECT, slot);
  brushes_.clear();
  fonts_.clear();
  selectedBrush_.reset();
  selectedFont_.reset();
  nextSlot_ = 1;
}

uint32_t EmfWriter::brushFor(uint32_t color) {
  auto found = brushes_.constFind(color);
  if (found != brushes_.constEnd()) return found.value();
  const uint32_t slot = newSlot();
  beginRecord(EMR_CREATEBRUSHINDIRECT, kCreateBrushSize);
  ByteWriter w(data_);
  w.u32(slot);
  w.u32(kBrushSolid);
  w.u32(color);
  w.u32(0);
  brushes_.insert(color, slot);
  return slot;
}

uint32_t EmfWriter::fontFor(const PageFont& font) {
  for (const auto& [known, slot] : fonts_) {
    if (known == font) return slot;
  }
  const uint32_t slot = newSlot();
  beginRecord(EMR_EXTCREATEFONTINDIRECTW, kFontRecordSize);
  ByteWriter w(data_);
  w.u32(slot);
  w.i32(-font.pixelHeight);
  w.i32(0);  // width
  w.i32(0);  // escapement
  w.i32(0);  // orientation
  w.i32(font.weight);
  w.u8(font.italic ? 1 : 0);
  w.u8(font.underline ? 1 : 0);
  w.u8(font.strikeOut ? 1 : 0);
  w.u8(1);  // DEFAULT_CHARSET
  w.u8(0);  // OUT_DEFAULT_PRECIS
  w.u8(0);  // CLIP_DEFAULT_PRECIS
  w.u8(0);  // DEFAULT_QUALITY
  w.u8(0);  // DEFAULT_PITCH | FF_DONTCARE
  const QString face = font.family.left(kFaceNameChars - 1);
  for (int i = 0; i < kFaceNameChars; ++i) w.u16(i < face.size() ? face.at(i).unicode() : 0);
  w.zeros(int(kFontRecordSize - kFaceNameOffset - 2 * kFaceNameChars));
  fonts_.append({font, slot});
  return slot;
}

void EmfWriter::forgetSelection() {
  selectedBrush_.reset();
  selectedFont_.reset();
  textColor_.reset();
  textAlign_.reset();
}

void EmfWriter::includeBounds(const QRect& rect) {
  const QRect visible = rect.intersected(QRect(QPoint(0, 0), pageSize_));
  if (visible.isEmpty()) return;
  bounds_ = bounds_.isNull() ? visible : bounds_.united(visible);
}

void EmfWriter::setFont(const QFont& font) {
  pageFont_ = PageFont::fromQFont(font, dpiY_);
  font_ = pageFont_.toQFont();
}

int EmfWriter::textWidth(const QString& text) const { return layoutText(font_, text).width; }

int EmfWriter::textHeight() const { return fontTextHeight(font_); }

void EmfWriter::fillRect(const QRect& rect, const QColor& color) {
  if (color.alpha() == 0 || rect.isEmpty()) return;
  const uint32_t brush = brushFor(colorRef(color));
  if (selectedBrush_ != brush) {
    selectObject(brush);
    selectedBrush_ = brush;
  }
  // With the null pen selected, a rectangle fills one pixel less than its box in each
  // direction, so the box reaches one pixel past the area.
  beginRecord(EMR_RECTANGLE, kRectRecordSize);
  ByteWriter(data_).rect(rect.left(), rect.top(), rect.left() + rect.width() + 1,
                         rect.top() + rect.height() + 1);
  includeBounds(rect);
}

void EmfWriter::drawText(int x, int y, TextAnchor anchor, const QString& text,
                         const QColor& color) {
  if (text.isEmpty() || color.alpha() == 0) return;
  const TextRun run = layoutText(font_, text);
  const uint32_t font = fontFor(pageFont_);
  if (selectedFont_ != font) {
    selectObject(font);
    selectedFont_ = font;
  }
  const uint32_t ref = colorRef(color);
  if (textColor_ != ref) {
    setValue(EMR_SETTEXTCOLOR, ref);
    textColor_ = ref;
  }
  uint32_t align = TA_LEFT;
  int left = x;
  if (anchor == TextAnchor::Center) {
    align = TA_CENTER;
    left = x - run.width / 2;
  } else if (anchor == TextAnchor::Right) {
    align = TA_RIGHT;
    left = x - run.width;
  }
  if (textAlign_ != align) {
    setValue(EMR_SETTEXTALIGN, align);
    textAlign_ = align;
  }
  const QRect box(left, y, run.width, run.ascent + run.descent);
  const uint32_t chars = static_cast<uint32_t>(text.size());
  const uint32_t stringBytes = (chars * 2 + 3) & ~3u;
  const uint32_t offDx = kTextFixedSize + stringBytes;
  beginRecord(EMR_EXTTEXTOUTW, offDx + chars * 4);
  ByteWriter w(data_);
  w.rect(box.left(), box.top(), box.right(), box.bottom());
  w.u32(1);  // GM_COMPATIBLE
  w.f32(0);
  w.f32(0);
  w.i32(x);
  w.i32(y);
  w.u32(chars);
  w.u32(kTextFixedSize);
  w.u32(0);  // options: neither opaque nor clipped
  w.rect(box.left(), box.top(), box.right(), box.bottom());
  w.u32(offDx);
  for (QChar ch : text) w.u16(ch.unicode());
  w.zeros(int(stringBytes - chars * 2));
  for (int advance : run.advances) w.i32(advance);
  includeBounds(box);
}

void EmfWriter::drawPicture(const QRect& target, const QImage& picture) {
  if (picture.isNull() || target.isEmpty()) return;
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  const uint32_t width = static_cast<uint32_t>(rgb.width());
  const uint32_t height = static_cast<uint32_t>(rgb.height());
  const uint32_t stride = (width * 3 + 3) & ~3u;
  const uint64_t bitsSize = uint64_t(stride) * height;
  if (bitsSize > 0x7FFFFFFFu - kStretchFixedSize - kBitmapInfoSize) {
    throw std::runtime_error("Picture too large to record");
  }
  beginRecord(EMR_STRETCHDIBITS, kStretchFixedSize + kBitmapInfoSize + uint32_t(bitsSize));
  ByteWriter w(data_);
  w.rect(target.left(), target.top(), target.right(), target.bottom());
  w.i32(target.x());
  w.i32(target.y());
  w.i32(0);
  w.i32(0);
  w.i32(int32_t(width));
  w.i32(int32_t(height));
  w.u32(kStretchFixedSize);
  w.u32(kBitmapInfoSize);
  w.u32(kStretchFixedSize + kBitmapInfoSize);
  w.u32(uint32_t(bitsSize));
  w.u32(0);  // DIB_RGB_COLORS
  w.u32(kSrcCopy);
  w.i32(target.width());
  w.i32(target.height());
  // Bitmap info header: bottom-up rows of 24-bit BGR.
  w.u32(kBitmapInfoSize);
  w.i32(int32_t(width));
  w.i32(int32_t(height));
  w.u16(1);
  w.u16(24);
  w.u32(0);
  w.u32(uint32_t(bitsSize));
  w.zeros(16);
  const qsizetype rowStart = data_.size();
  data_.resize(rowStart + qsizetype(bitsSize));
  char* out = data_.data() + rowStart;
  for (uint32_t row = 0; row < height; ++row) {
    const uchar* line = rgb.constScanLine(int(height - 1 - row));
    char* dest = out + qsizetype(row) * stride;
    for (uint32_t x = 0; x < width; ++x) {
      dest[x * 3] = char(line[x * 3 + 2]);
      dest[x * 3 + 1] = char(line[x * 3 + 1]);
      dest[x * 3 + 2] = char(line[x * 3]);
    }
    std::memset(dest + width * 3, 0, stride - width * 3);
  }
  includeBounds(target);
}

void EmfWriter::setClipRect(const QRect& rect) {
  clearClip();
  beginRecord(EMR_SAVEDC, kSaveDcSize);
  beginRecord(EMR_INTERSECTCLIPRECT, kRectRecordSize);
  ByteWriter(data_).rect(rect.left(), rect.top(), rect.left() + rect.width(),
                         rect.top() + rect.height());
  clipped_ = true;
}

void EmfWriter::clearClip() {
  if (!clipped_) return;
  beginRecord(EMR_RESTOREDC, kSetValueSize);
  ByteWriter(data_).i32(-1);
  clipped_ = false;
  // The restored state selects what was selected at SAVEDC time.
  forgetSelection();
}

QByteArray EmfWriter::finish() {
  if (finished_) return data_;
  clearClip();
  const uint32_t handles = highestSlot_ + 1;  // slot 0 is reserved
  if (nextSlot_ > 1) releaseObjects();
  beginRecord(EMR_EOF, kEofSize);
  ByteWriter w(data_);
  w.u32(0);
  w.u32(16);
  w.u32(kEofSize);
  finished_ = true;

  char* header = data_.data();
  if (!bounds_.isNull()) {
    char* bounds = header + kHeaderBoundsOffset;
    coding::encodeFixed32(bounds, uint32_t(bounds_.left()));
    coding::encodeFixed32(bounds + 4, uint32_t(bounds_.top()));
    coding::encodeFixed32(bounds + 8, uint32_t(bounds_.right()));
    coding::encodeFixed32(bounds + 12, uint32_t(bounds_.bottom()));
  }
  coding::encodeFixed32(header + kHeaderBytesOffset, uint32_t(data_.size()));
  coding::encodeFixed32(header + kHeaderRecordsOffset, records_);
  coding::encodeFixed16(header + kHeaderHandlesOffset, uint16_t(handles));
  return data_;
}

}  // namespace wf
