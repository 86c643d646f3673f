// Byte layout of the Enhanced Metafile records a page recording uses. All integers are
// little-endian; every record starts with Type (u32) and Size (u32, whole record, a multiple of
// 4). Rectangles are four i32 (left, top, right, bottom), colours u32 0x00BBGGRR.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QRect>

#include <bit>
#include <cstdint>

#include "store/byte_coding.h"

namespace wf::emf {

// Record types.
inline constexpr uint32_t EMR_HEADER = 0x01;
inline constexpr uint32_t EMR_EOF = 0x0E;
inline constexpr uint32_t EMR_SETBKMODE = 0x12;
inline constexpr uint32_t EMR_SETTEXTALIGN = 0x16;
inline constexpr uint32_t EMR_SETTEXTCOLOR = 0x18;
inline constexpr uint32_t EMR_MOVETOEX = 0x1B;
inline constexpr uint32_t EMR_INTERSECTCLIPRECT = 0x1E;
inline constexpr uint32_t EMR_SAVEDC = 0x21;
inline constexpr uint32_t EMR_RESTOREDC = 0x22;
inline constexpr uint32_t EMR_SELECTOBJECT = 0x25;
inline constexpr uint32_t EMR_CREATEPEN = 0x26;
inline constexpr uint32_t EMR_CREATEBRUSHINDIRECT = 0x27;
inline constexpr uint32_t EMR_DELETEOBJECT = 0x28;
inline constexpr uint32_t EMR_RECTANGLE = 0x2B;
inline constexpr uint32_t EMR_LINETO = 0x36;
inline constexpr uint32_t EMR_STRETCHDIBITS = 0x51;
inline constexpr uint32_t EMR_EXTCREATEFONTINDIRECTW = 0x52;
inline constexpr uint32_t EMR_EXTTEXTOUTW = 0x54;

// EMR_HEADER with extension 2 (108 bytes), offsets from the record's first byte. The fields
// between the named ones are zero in the recordings this program makes: Reserved u16 @58,
// nDescription @60, offDescription @64, nPalEntries @68, cbPixelFormat @88, offPixelFormat @92,
// bOpenGL @96. A reader needs no more than the first 88 bytes (the header without extensions).
inline constexpr uint32_t kHeaderSize = 108;
inline constexpr uint32_t kMinHeaderSize = 88;
inline constexpr uint32_t kHeaderBoundsOffset = 8;         // RectL, device pixels, inclusive
inline constexpr uint32_t kHeaderFrameOffset = 24;         // RectL, 0.01 mm
inline constexpr uint32_t kSignatureOffset = 40;           // u32 kSignature
inline constexpr uint32_t kHeaderVersionOffset = 44;       // u32 kVersion
inline constexpr uint32_t kHeaderBytesOffset = 48;         // u32, the whole stream
inline constexpr uint32_t kHeaderRecordsOffset = 52;       // u32, the header and EOF included
inline constexpr uint32_t kHeaderHandlesOffset = 56;       // u16, slot 0 included
inline constexpr uint32_t kHeaderDeviceOffset = 72;        // SizeL, reference device in pixels
inline constexpr uint32_t kHeaderMillimetersOffset = 80;   // SizeL, reference device in mm
inline constexpr uint32_t kHeaderMicrometersOffset = 100;  // SizeL, reference device in micrometres
inline constexpr uint32_t kSignature = 0x464D4520;         // " EMF"
inline constexpr uint32_t kVersion = 0x00010000;

// EMR_EOF (20): nPalEntries, offPalEntries, SizeLast (= 20).
inline constexpr uint32_t kEofSize = 20;

// Fixed sizes of the one-value records.
inline constexpr uint32_t kSetValueSize =
    12;  // SETBKMODE, SETTEXTALIGN, SETTEXTCOLOR, SELECTOBJECT, DELETEOBJECT, RESTOREDC
inline constexpr uint32_t kSaveDcSize = 8;
inline constexpr uint32_t kRectRecordSize = 24;   // RECTANGLE, INTERSECTCLIPRECT
inline constexpr uint32_t kPointRecordSize = 16;  // MOVETOEX, LINETO
inline constexpr uint32_t kCreateBrushSize = 24;  // ihBrush, style, colour, hatch
inline constexpr uint32_t kCreatePenSize = 28;    // ihPen, style, width PointL, colour

// EMR_EXTCREATEFONTINDIRECTW: ihFont @8, LogFont @12: Height i32, Width, Escapement,
// Orientation, Weight, then Italic, Underline, StrikeOut, CharSet, OutPrecision,
// ClipPrecision, Quality, PitchAndFamily (u8), FaceName 32 UTF-16 units @40. The 332-byte form
// adds FullName (64 units), Style (32 units), six u32, Panose (10) and 2 bytes padding.
inline constexpr uint32_t kFontLogFontSize = 104;
inline constexpr uint32_t kFontRecordSize = 332;
inline constexpr uint32_t kFaceNameOffset = 40;
inline constexpr int kFaceNameChars = 32;

// EMR_EXTTEXTOUTW: Bounds @8, iGraphicsMode @24, exScale f32 @28, eyScale f32 @32, Reference
// PointL @36, Chars @44, offString @48, Options @52, Rectangle RectL @56, offDx @72, then the
// UTF-16 string (padded to 4) and Chars i32 advances.
inline constexpr uint32_t kTextFixedSize = 76;
inline constexpr uint32_t kTextOptionNoRect = 0x100;

// EMR_STRETCHDIBITS: Bounds @8, xDest @24, yDest @28, xSrc @32, ySrc @36, cxSrc @40, cySrc @44,
// offBmiSrc @48, cbBmiSrc @52, offBitsSrc @56, cbBitsSrc @60, UsageSrc @64, RasterOp @68,
// cxDest @72, cyDest @76; bitmap info header (40 bytes) at offBmiSrc, rows at offBitsSrc.
inline constexpr uint32_t kStretchFixedSize = 80;
inline constexpr uint32_t kBitmapInfoSize = 40;
inline constexpr uint32_t kSrcCopy = 0x00CC0020;

// Text alignment flags.
inline constexpr uint32_t TA_LEFT = 0;
inline constexpr uint32_t TA_RIGHT = 2;
inline constexpr uint32_t TA_CENTER = 6;
inline constexpr uint32_t TA_BOTTOM = 8;
inline constexpr uint32_t TA_BASELINE = 24;

// Background modes, brush and pen styles, stock objects.
inline constexpr uint32_t kTransparent = 1;
inline constexpr uint32_t kBrushSolid = 0;
inline constexpr uint32_t kBrushNull = 1;
inline constexpr uint32_t kPenSolid = 0;
inline constexpr uint32_t kPenNull = 5;
inline constexpr uint32_t kStockFlag = 0x80000000;
inline constexpr uint32_t kStockWhiteBrush = 0x80000000;
inline constexpr uint32_t kStockNullBrush = 0x80000005;
inline constexpr uint32_t kStockBlackPen = 0x80000007;
inline constexpr uint32_t kStockNullPen = 0x80000008;
inline constexpr uint32_t kStockSystemFont = 0x8000000D;

inline uint32_t colorRef(const QColor& color) {
  const QRgb rgb = color.rgb();
  return uint32_t(qRed(rgb)) | (uint32_t(qGreen(rgb)) << 8) | (uint32_t(qBlue(rgb)) << 16);
}
inline QColor fromColorRef(uint32_t value) {
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// Appends little-endian values to a growing byte array.
class ByteWriter {
 public:
  explicit ByteWriter(QByteArray& out) : out_(out) {}
  void u8(uint8_t v) { out_.append(static_cast<char>(v)); }
  void u16(uint16_t v) { coding::putFixed16(out_, v); }
  void u32(uint32_t v) { coding::putFixed32(out_, v); }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void f32(float v) { u32(std::bit_cast<uint32_t>(v)); }
  void rect(int32_t l, int32_t t, int32_t r, int32_t b) {
    i32(l);
    i32(t);
    i32(r);
    i32(b);
  }
  void zeros(int count) { out_.append(count, '\0'); }
  qsizetype size() const { return out_.size(); }

 private:
  QByteArray& out_;
};

}  // namespace wf::emf
