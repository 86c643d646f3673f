#include "reports/emf_player.h"

#include <QImage>
#include <QPainter>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "reports/emf_format.h"
#include "reports/page_font.h"

namespace wf {

using namespace emf;

EmfError::EmfError(const QString& message, qint64 offset)
    : std::runtime_error(QStringLiteral("%1 (at byte %2)").arg(message).arg(offset).toStdString()),
      offset_(offset) {}

QSize EmfPageInfo::pageSizePixels() const {
  if (millimeters.width() <= 0 || millimeters.height() <= 0) return bounds.size();
  const double w = double(frame.width() - 1) * device.width() / (millimeters.width() * 100.0);
  const double h = double(frame.height() - 1) * device.height() / (millimeters.height() * 100.0);
  return QSize(int(std::lround(w)), int(std::lround(h)));
}

QSizeF EmfPageInfo::pageSizeNative() const {
  return QSizeF((frame.width() - 1) / 10.0, (frame.height() - 1) / 10.0);
}

namespace {

// Largest font height and bitmap side accepted; far beyond any page, small enough to draw.
constexpr int32_t kMaxFontHeight = 16384;
constexpr int32_t kMaxBitmapSide = 65535;
constexpr double kMaxDeviceFontHeight = 4096;
// Coordinates are clamped to this range before they reach Qt's int geometry.
constexpr int64_t kCoordinateLimit = 1 << 24;
constexpr uint32_t kHighestStockObject = 0x80000013;

int clampCoord(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
}

QRect rectFromCorners(int32_t l, int32_t t, int32_t r, int32_t b) {
  int64_t left = l, top = t, right = r, bottom = b;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return QRect(QPoint(clampCoord(left), clampCoord(top)),
               QPoint(clampCoord(right) - 1, clampCoord(bottom) - 1));
}

QRect readRect(const char* p) {
  return rectFromCorners(coding::decodeFixedI32(p), coding::decodeFixedI32(p + 4),
                         coding::decodeFixedI32(p + 8), coding::decodeFixedI32(p + 12));
}

// One record as seen while walking the stream.
struct Record {
  uint32_t type;
  uint32_t size;
  const char* data;
  qint64 offset;
  uint32_t u32(uint32_t at) const { return coding::decodeFixed32(data + at); }
  int32_t i32(uint32_t at) const { return coding::decodeFixedI32(data + at); }
};

struct Bitmap {
  uint32_t width;
  uint32_t height;
  bool topDown;
  uint32_t bitCount;
  uint32_t stride;
};

Bitmap bitmapOf(const Record& r) {
  const char* bmi = r.data + r.u32(48);
  const int32_t height = coding::decodeFixedI32(bmi + 8);
  Bitmap b;
  b.width = static_cast<uint32_t>(coding::decodeFixedI32(bmi + 4));
  b.topDown = height < 0;
  b.height = static_cast<uint32_t>(height < 0 ? -int64_t(height) : height);
  b.bitCount = coding::decodeFixed16(bmi + 14);
  b.stride = ((b.width * b.bitCount + 31) / 32) * 4;
  return b;
}

class Checker {
 public:
  explicit Checker(uint32_t handles) : handles_(handles) {}

  void check(const Record& r) const {
    switch (r.type) {
      case EMR_HEADER: fail(r, "a second header record"); break;
      case EMR_SETBKMODE:
      case EMR_SETTEXTALIGN:
      case EMR_SETTEXTCOLOR:
      case EMR_RESTOREDC: atLeast(r, kSetValueSize); break;
      case EMR_SAVEDC: atLeast(r, kSaveDcSize); break;
      case EMR_SELECTOBJECT:
        atLeast(r, kSetValueSize);
        checkHandle(r, r.u32(8), true);
        break;
      case EMR_DELETEOBJECT:
        atLeast(r, kSetValueSize);
        checkHandle(r, r.u32(8), false);
        break;
      case EMR_CREATEBRUSHINDIRECT:
        atLeast(r, kCreateBrushSize);
        checkHandle(r, r.u32(8), false);
        break;
      case EMR_CREATEPEN:
        atLeast(r, kCreatePenSize);
        checkHandle(r, r.u32(8), false);
        break;
      case EMR_RECTANGLE:
      case EMR_INTERSECTCLIPRECT: atLeast(r, kRectRecordSize); break;
      case EMR_MOVETOEX:
      case EMR_LINETO: atLeast(r, kPointRecordSize); break;
      case EMR_EXTCREATEFONTINDIRECTW: checkFont(r); break;
      case EMR_EXTTEXTOUTW: checkText(r); break;
      case EMR_STRETCHDIBITS: checkBitmap(r); break;
      default: break;  // records a page does not use are skipped
    }
  }

 private:
  [[noreturn]] static void fail(const Record& r, const QString& what) {
    throw EmfError(
        QStringLiteral("Damaged page recording: %1 in record type %2").arg(what).arg(r.type),
        r.offset);
  }
  static void atLeast(const Record& r, uint32_t size) {
    if (r.size < size) fail(r, QStringLiteral("record too short (%1 bytes)").arg(r.size));
  }
  static void within(const Record& r, uint64_t offset, uint64_t length, const char* what) {
    if (offset > r.size || length > r.size - offset) {
      fail(r, QStringLiteral("%1 outside the record").arg(QLatin1String(what)));
    }
  }
  void checkHandle(const Record& r, uint32_t handle, bool stockAllowed) const {
    if (handle & kStockFlag) {
      if (!stockAllowed || handle > kHighestStockObject) fail(r, "unknown stock object");
      return;
    }
    if (handle == 0 || handle >= handles_) {
      fail(r, QStringLiteral("object index %1 outside the handle table").arg(handle));
    }
  }
  void checkFont(const Record& r) const {
    atLeast(r, kFontLogFontSize);
    checkHandle(r, r.u32(8), false);
    const int64_t height = r.i32(12);
    if (height > kMaxFontHeight || height < -kMaxFontHeight) fail(r, "font height out of range");
  }
  static void checkText(const Record& r) {
    atLeast(r, kTextFixedSize);
    const uint64_t chars = r.u32(44);
    within(r, r.u32(48), chars * 2, "text");
    if (r.u32(72) != 0) within(r, r.u32(72), chars * 4, "character advances");
  }
  static void checkBitmap(const Record& r) {
    atLeast(r, kStretchFixedSize);
    const uint32_t offBmi = r.u32(48);
    const uint32_t cbBmi = r.u32(52);
    const uint32_t offBits = r.u32(56);
    const uint32_t cbBits = r.u32(60);
    if (cbBmi == 0 && cbBits == 0) return;  // no bitmap: nothing is drawn
    if (cbBmi < kBitmapInfoSize) fail(r, "bitmap header too short");
    within(r, offBmi, cbBmi, "bitmap header");
    within(r, offBits, cbBits, "bitmap bits");
    const char* bmi = r.data + offBmi;
    if (coding::decodeFixed32(bmi) < kBitmapInfoSize) fail(r, "bitmap header too short");
    const int32_t width = coding::decodeFixedI32(bmi + 4);
    const int32_t height = coding::decodeFixedI32(bmi + 8);
    if (width <= 0 || width > kMaxBitmapSide || height == 0 || height > kMaxBitmapSide ||
        height < -kMaxBitmapSide) {
      fail(r, "bitmap size out of range");
    }
    const uint16_t bits = coding::decodeFixed16(bmi + 14);
    if ((bits != 24 && bits != 32) || coding::decodeFixed32(bmi + 16) != 0) {
      fail(r, "unsupported bitmap format (only uncompressed 24 and 32 bit)");
    }
    const Bitmap b = bitmapOf(r);
    if (uint64_t(b.stride) * b.height > cbBits) fail(r, "bitmap bits shorter than the bitmap");
  }

  uint32_t handles_;
};

// Walks the records after the header; calls visit for each one but EOF.
void walk(const QByteArray& stream, const std::function<void(const Record&)>& visit,
          uint32_t* recordCount) {
  const char* base = stream.constData();
  const qint64 total = stream.size();
  qint64 offset = coding::decodeFixed32(base + 4);
  uint32_t count = 1;
  while (true) {
    if (total - offset < 8) {
      throw EmfError(QStringLiteral("Damaged page recording: no end-of-file record"), offset);
    }
    Record r{coding::decodeFixed32(base + offset), coding::decodeFixed32(base + offset + 4),
             base + offset, offset};
    if (r.size < 8 || r.size % 4 != 0 || r.size > total - offset) {
      throw EmfError(
          QStringLiteral("Damaged page recording: record size %1 does not fit").arg(r.size),
          offset);
    }
    ++count;
    if (r.type == EMR_EOF) {
      if (r.size < kEofSize) {
        throw EmfError(QStringLiteral("Damaged page recording: end-of-file record too short"),
                       offset);
      }
      if (offset + r.size != total) {
        throw EmfError(QStringLiteral("Damaged page recording: data after end-of-file record"),
                       offset + r.size);
      }
      break;
    }
    visit(r);
    offset += r.size;
  }
  if (recordCount) *recordCount = count;
}

// Drawing state of the device context, saved and restored with SAVEDC / RESTOREDC.
struct DcState {
  uint32_t brush = kStockWhiteBrush;
  uint32_t pen = kStockBlackPen;
  uint32_t font = kStockSystemFont;
  QColor textColor = Qt::black;
  uint32_t bkMode = 2;
  uint32_t textAlign = 0;
  QPoint position;
};

struct GdiObject {
  enum class Kind { None, Brush, Pen, Font } kind = Kind::None;
  QColor color;
  bool null = false;
  int penWidth = 0;
  PageFont font;
};

class Player {
 public:
  Player(QPainter& painter, uint32_t handles) : painter_(painter), objects_(handles) {}

  void run(const Record& r) {
    switch (r.type) {
      case EMR_SETBKMODE: state_.bkMode = r.u32(8); break;
      case EMR_SETTEXTALIGN: state_.textAlign = r.u32(8); break;
      case EMR_SETTEXTCOLOR: state_.textColor = fromColorRef(r.u32(8)); break;
      case EMR_SAVEDC: saveDc(); break;
      case EMR_RESTOREDC: restoreDc(r.i32(8)); break;
      case EMR_SELECTOBJECT: select(r.u32(8)); break;
      case EMR_DELETEOBJECT: objects_[r.u32(8)] = GdiObject(); break;
      case EMR_CREATEBRUSHINDIRECT: createBrush(r); break;
      case EMR_CREATEPEN: createPen(r); break;
      case EMR_EXTCREATEFONTINDIRECTW: createFont(r); break;
      case EMR_RECTANGLE: rectangle(readRect(r.data + 8)); break;
      case EMR_INTERSECTCLIPRECT:
        painter_.setClipRect(readRect(r.data + 8), Qt::IntersectClip);
        break;
      case EMR_MOVETOEX:
        state_.position = QPoint(clampCoord(r.i32(8)), clampCoord(r.i32(12)));
        break;
      case EMR_LINETO: lineTo(QPoint(clampCoord(r.i32(8)), clampCoord(r.i32(12)))); break;
      case EMR_EXTTEXTOUTW: text(r); break;
      case EMR_STRETCHDIBITS: bitmap(r); break;
      default: break;
    }
  }

  void finish() {
    while (!saved_.empty()) restoreDc(-1);
  }

 private:
  void saveDc() {
    saved_.push_back(state_);
    painter_.save();
  }
  void restoreDc(int32_t level) {
    const int64_t depth = int64_t(saved_.size());
    int64_t pops = 0;
    if (level < 0)
      pops = -int64_t(level);
    else if (level > 0)
      pops = depth - level + 1;
    if (pops <= 0 || pops > depth) return;  // as the system does: an impossible level is ignored
    for (int64_t i = 0; i < pops; ++i) {
      state_ = saved_.back();
      saved_.pop_back();
      painter_.restore();
    }
  }
  const GdiObject* object(uint32_t handle) const {
    if (handle & kStockFlag) return nullptr;
    return &objects_[handle];
  }
  void select(uint32_t handle) {
    if (handle & kStockFlag) {
      const uint32_t stock = handle & ~kStockFlag;
      if (stock <= 5)
        state_.brush = handle;
      else if (stock <= 8)
        state_.pen = handle;
      else if (stock >= 10 && stock <= 17)
        state_.font = handle;
      return;
    }
    switch (objects_[handle].kind) {
      case GdiObject::Kind::Brush: state_.brush = handle; break;
      case GdiObject::Kind::Pen: state_.pen = handle; break;
      case GdiObject::Kind::Font: state_.font = handle; break;
      case GdiObject::Kind::None: break;
    }
  }
  void createBrush(const Record& r) {
    GdiObject& o = objects_[r.u32(8)];
    o = GdiObject();
    o.kind = GdiObject::Kind::Brush;
    o.null = r.u32(12) == kBrushNull;
    o.color = fromColorRef(r.u32(16));
  }
  void createPen(const Record& r) {
    GdiObject& o = objects_[r.u32(8)];
    o = GdiObject();
    o.kind = GdiObject::Kind::Pen;
    o.null = (r.u32(12) & 0xF) == kPenNull;
    o.penWidth = std::clamp(r.i32(16), 0, 1000);
    o.color = fromColorRef(r.u32(24));
  }
  void createFont(const Record& r) {
    GdiObject& o = objects_[r.u32(8)];
    o = GdiObject();
    o.kind = GdiObject::Kind::Font;
    const int32_t height = r.i32(12);
    o.font.pixelHeight = std::max(1, height < 0 ? -height : height);
    o.font.weight = r.i32(28) == 0 ? 400 : std::clamp(r.i32(28), 100, 900);
    o.font.italic = r.data[32] != 0;
    o.font.underline = r.data[33] != 0;
    o.font.strikeOut = r.data[34] != 0;
    QString face;
    for (int i = 0; i < kFaceNameChars; ++i) {
      const uint16_t unit = coding::decodeFixed16(r.data + kFaceNameOffset + 2 * i);
      if (unit == 0) break;
      face.append(QChar(unit));
    }
    o.font.family = face;
  }

  // Brush and pen in force, resolved; nullopt for the null objects.
  std::optional<QColor> brushColor() const {
    if (const GdiObject* o = object(state_.brush)) {
      if (o->kind != GdiObject::Kind::Brush || o->null) return std::nullopt;
      return o->color;
    }
    switch (state_.brush & ~kStockFlag) {
      case 0: return QColor(255, 255, 255);
      case 1: return QColor(192, 192, 192);
      case 2: return QColor(128, 128, 128);
      case 3: return QColor(64, 64, 64);
      case 4: return QColor(0, 0, 0);
      default: return std::nullopt;
    }
  }
  std::optional<QPen> pen() const {
    if (const GdiObject* o = object(state_.pen)) {
      if (o->kind != GdiObject::Kind::Pen || o->null) return std::nullopt;
      QPen p(o->color);
      p.setWidth(std::max(1, o->penWidth));
      p.setCapStyle(Qt::FlatCap);
      return p;
    }
    switch (state_.pen & ~kStockFlag) {
      case 6: return QPen(QColor(255, 255, 255));
      case 7: return QPen(QColor(0, 0, 0));
      default: return std::nullopt;
    }
  }
  QFont font() const {
    if (const GdiObject* o = object(state_.font)) {
      if (o->kind == GdiObject::Kind::Font) return o->font.toQFont();
    }
    PageFont system;
    system.family = QStringLiteral("Sans Serif");
    system.pixelHeight = 16;
    system.weight = 700;
    return system.toQFont();
  }

  void rectangle(const QRect& box) {
    const std::optional<QPen> outline = pen();
    // With no pen the interior ends one pixel before the box's right and bottom edges.
    const QRect area(box.topLeft(), QSize(box.width() - 1, box.height() - 1));
    if (const auto color = brushColor(); color && !area.isEmpty()) {
      fillOnDevice(outline ? box : area, *color);
    }
    if (outline && box.width() > 1 && box.height() > 1) {
      painter_.setPen(*outline);
      painter_.setBrush(Qt::NoBrush);
      painter_.drawRect(area);
    }
  }
  // Fills rect snapped to whole device pixels and at least one pixel wide and high, so the
  // one-pixel frame lines of a page stay visible when it is drawn smaller than recorded.
  void fillOnDevice(const QRect& rect, const QColor& color) {
    const QTransform& transform = painter_.transform();
    if (transform.isIdentity() || transform.type() > QTransform::TxScale) {
      painter_.fillRect(rect, color);
      return;
    }
    const QRectF mapped = transform.mapRect(QRectF(rect));
    const int left = int(std::lround(mapped.left()));
    const int top = int(std::lround(mapped.top()));
    const int right = std::max(left + 1, int(std::lround(mapped.right())));
    const int bottom = std::max(top + 1, int(std::lround(mapped.bottom())));
    painter_.save();
    painter_.resetTransform();
    painter_.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), color);
    painter_.restore();
  }

  void lineTo(const QPoint& to) {
    if (const auto p = pen()) {
      painter_.setPen(*p);
      painter_.drawLine(state_.position, to);
    }
    state_.position = to;
  }

  void text(const Record& r) {
    const uint32_t chars = r.u32(44);
    const char* units = r.data + r.u32(48);
    QString string(qsizetype(chars), Qt::Uninitialized);
    for (uint32_t i = 0; i < chars; ++i)
      string[qsizetype(i)] = QChar(coding::decodeFixed16(units + 2 * i));
    const QFont f = font();
    TextRun run = layoutText(f, string);
    if (r.u32(72) != 0) {
      const char* dx = r.data + r.u32(72);
      run.width = 0;
      for (uint32_t i = 0; i < chars; ++i) {
        run.advances[qsizetype(i)] =
            std::clamp(coding::decodeFixedI32(dx + 4 * i), -int32_t(kCoordinateLimit),
                       int32_t(kCoordinateLimit));
        run.width = clampCoord(int64_t(run.width) + run.advances[qsizetype(i)]);
      }
    }
    const int x = clampCoord(r.i32(36));
    const int y = clampCoord(r.i32(40));
    int left = x;
    switch (state_.textAlign & TA_CENTER) {
      case TA_CENTER: left = x - run.width / 2; break;
      case TA_RIGHT: left = x - run.width; break;
      default: break;
    }
    int baseline = y + run.ascent;
    if ((state_.textAlign & TA_BASELINE) == TA_BASELINE)
      baseline = y;
    else if (state_.textAlign & TA_BOTTOM)
      baseline = y - run.descent;

    const uint32_t options = r.u32(52);
    const QRect rect = readRect(r.data + 56);
    painter_.save();
    if (options & 0x4) painter_.setClipRect(rect, Qt::IntersectClip);
    if (options & 0x2) painter_.fillRect(rect, Qt::white);
    if (state_.bkMode == 2) {
      painter_.fillRect(QRect(left, baseline - run.ascent, run.width, run.ascent + run.descent),
                        Qt::white);
    }
    // Text is not drawn when its characters would be larger than any page holds or squeezed
    // far out of shape (a target of another shape than the page): the font engine fails on
    // such glyphs, and no caller draws a page that way.
    const double sx = std::abs(painter_.transform().m11());
    const double sy = std::abs(painter_.transform().m22());
    if (f.pixelSize() * std::max(sx, sy) > kMaxDeviceFontHeight || sx > 4 * sy || sy > 4 * sx) {
      painter_.restore();
      return;
    }
    painter_.setFont(f);
    painter_.setPen(state_.textColor);
    paintTextRun(painter_, left, baseline, string, run.advances);
    painter_.restore();
  }

  void bitmap(const Record& r) {
    if (r.u32(52) == 0 && r.u32(60) == 0) return;
    const int32_t cxDest = r.i32(72);
    const int32_t cyDest = r.i32(76);
    if (cxDest <= 0 || cyDest <= 0) return;
    const Bitmap b = bitmapOf(r);
    QImage image(int(b.width), int(b.height), QImage::Format_RGB888);
    if (image.isNull()) return;
    const auto* bits = reinterpret_cast<const uchar*>(r.data + r.u32(56));
    const uint32_t bytesPerPixel = b.bitCount / 8;
    for (uint32_t row = 0; row < b.height; ++row) {
      const uchar* source = bits + uint64_t(b.topDown ? row : b.height - 1 - row) * b.stride;
      uchar* dest = image.scanLine(int(row));
      for (uint32_t x = 0; x < b.width; ++x) {
        dest[3 * x] = source[bytesPerPixel * x + 2];
        dest[3 * x + 1] = source[bytesPerPixel * x + 1];
        dest[3 * x + 2] = source[bytesPerPixel * x];
      }
    }
    const QRect source = QRect(clampCoord(r.i32(32)), clampCoord(r.i32(36)), clampCoord(r.i32(40)),
                               clampCoord(r.i32(44)))
                             .intersected(image.rect());
    if (source.isEmpty()) return;
    const QRect target(clampCoord(r.i32(24)), clampCoord(r.i32(28)), clampCoord(cxDest),
                       clampCoord(cyDest));
    const bool smooth = painter_.testRenderHint(QPainter::SmoothPixmapTransform);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (source == image.rect())
      painter_.drawImage(target, image);
    else
      painter_.drawImage(target, image, source);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
  }

  QPainter& painter_;
  std::vector<GdiObject> objects_;
  DcState state_;
  std::vector<DcState> saved_;
};

}  // namespace

EmfPageInfo EmfPlayer::parse(const QByteArray& stream) {
  auto headerFault = [](const QString& what, qint64 at) -> EmfError {
    return EmfError(QStringLiteral("Not a page recording: %1").arg(what), at);
  };
  const char* base = stream.constData();
  if (stream.size() < qint64(kMinHeaderSize) + qint64(kEofSize)) {
    throw headerFault(QStringLiteral("only %1 bytes").arg(stream.size()), 0);
  }
  if (coding::decodeFixed32(base) != EMR_HEADER) {
    throw headerFault(QStringLiteral("no header record"), 0);
  }
  const uint32_t headerSize = coding::decodeFixed32(base + 4);
  if (headerSize < kMinHeaderSize || headerSize % 4 != 0 || headerSize > stream.size()) {
    throw headerFault(QStringLiteral("header size %1").arg(headerSize), 4);
  }
  if (coding::decodeFixed32(base + kSignatureOffset) != kSignature) {
    throw headerFault(QStringLiteral("no EMF signature"), kSignatureOffset);
  }
  const uint32_t statedBytes = coding::decodeFixed32(base + kHeaderBytesOffset);
  if (statedBytes != uint32_t(stream.size())) {
    throw headerFault(QStringLiteral("header says %1 bytes, the recording has %2")
                          .arg(statedBytes)
                          .arg(stream.size()),
                      kHeaderBytesOffset);
  }
  auto u32At = [base](uint32_t at) { return coding::decodeFixed32(base + at); };
  auto i32At = [base](uint32_t at) { return coding::decodeFixedI32(base + at); };
  auto cornersAt = [&](uint32_t at) {
    return QRect(QPoint(i32At(at), i32At(at + 4)), QPoint(i32At(at + 8), i32At(at + 12)));
  };
  auto sizeAt = [&](uint32_t at) { return QSize(i32At(at), i32At(at + 4)); };
  EmfPageInfo info;
  info.bounds = cornersAt(kHeaderBoundsOffset);
  info.frame = cornersAt(kHeaderFrameOffset);
  info.records = u32At(kHeaderRecordsOffset);
  info.handles = std::max<uint32_t>(1, coding::decodeFixed16(base + kHeaderHandlesOffset));
  info.device = sizeAt(kHeaderDeviceOffset);
  info.millimeters = sizeAt(kHeaderMillimetersOffset);
  // Frame sides in 64 bits: the corners may be anything in a damaged header.
  const int64_t frameWidth = int64_t(i32At(kHeaderFrameOffset + 8)) - i32At(kHeaderFrameOffset);
  const int64_t frameHeight =
      int64_t(i32At(kHeaderFrameOffset + 12)) - i32At(kHeaderFrameOffset + 4);
  if (info.device.width() <= 0 || info.device.height() <= 0 || info.millimeters.width() <= 0 ||
      info.millimeters.height() <= 0 || frameWidth < 1 || frameHeight < 1 ||
      frameWidth > 10000000 || frameHeight > 10000000) {
    throw headerFault(QStringLiteral("no page size"), kHeaderFrameOffset);
  }
  const QSize page = info.pageSizePixels();
  if (page.width() <= 0 || page.height() <= 0 || page.width() > kCoordinateLimit ||
      page.height() > kCoordinateLimit) {
    throw headerFault(QStringLiteral("page size out of range"), kHeaderFrameOffset);
  }

  const Checker checker(info.handles);
  uint32_t counted = 0;
  walk(
      stream, [&](const Record& r) { checker.check(r); }, &counted);
  if (counted != info.records) {
    throw headerFault(QStringLiteral("header counts %1 records, the recording has %2")
                          .arg(info.records)
                          .arg(counted),
                      kHeaderRecordsOffset);
  }
  return info;
}

void EmfPlayer::play(const QByteArray& stream, QPainter& painter, const QRectF& target) {
  const EmfPageInfo info = parse(stream);
  const QSize page = info.pageSizePixels();
  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  painter.translate(target.topLeft());
  painter.scale(target.width() / page.width(), target.height() / page.height());
  Player player(painter, info.handles);
  walk(
      stream, [&](const Record& r) { player.run(r); }, nullptr);
  player.finish();
  painter.restore();
}

}  // namespace wf
