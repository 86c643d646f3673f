#include "framework/bitmap_reader.h"

#include "framework/whole_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "store/byte_coding.h"

namespace wf {
namespace {

// File header: "BM", file size (4), two reserved words (4), offset of the pixels (4).
constexpr std::size_t kFileHeaderSize = 14;
// Info header sizes: OS/2 core header, Windows info header, its two variants with masks, and
// the V4 and V5 headers.
constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;

enum class Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// Bounds-checked little-endian reads; every access goes through here.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t size() const { return size_; }
  bool has(std::size_t offset, std::size_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  std::uint8_t u8(std::size_t offset) const {
    if (!has(offset, 1)) throw BitmapError();
    return data_[offset];
  }
  std::uint16_t u16(std::size_t offset) const { return coding::decodeFixed16(at(offset, 2)); }
  std::uint32_t u32(std::size_t offset) const { return coding::decodeFixed32(at(offset, 4)); }
  const std::uint8_t* at(std::size_t offset, std::size_t count) const {
    if (!has(offset, count)) throw BitmapError();
    return data_ + offset;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    max = mask >> shift;
  }
  int value(std::uint32_t pixel) const {
    if (max == 0) return 0;
    return static_cast<int>((static_cast<std::uint64_t>((pixel & mask) >> shift) * 255) / max);
  }
};

struct Header {
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, always positive here
  bool topDown = false;
  int bitCount = 0;
  Compression compression = Compression::Rgb;
  std::uint32_t colorsUsed = 0;
  std::size_t paletteOffset = 0;
  int paletteEntrySize = 4;
  std::array<Channel, 3> channels;
};

Header readHeader(const Reader& in) {
  if (in.u8(0) != 'B' || in.u8(1) != 'M') throw BitmapError();
  const std::uint32_t infoSize = in.u32(kFileHeaderSize);
  Header h;
  const std::size_t info = kFileHeaderSize;
  int planes = 0;
  if (infoSize == kCoreHeader) {
    h.width = in.u16(info + 4);
    h.height = in.u16(info + 6);
    planes = in.u16(info + 8);
    h.bitCount = in.u16(info + 10);
    h.paletteEntrySize = 3;
  } else if (infoSize == kInfoHeader || infoSize == 52 || infoSize == 56 || infoSize == 108 ||
             infoSize == 124) {
    h.width = static_cast<std::int32_t>(in.u32(info + 4));
    const auto height = static_cast<std::int32_t>(in.u32(info + 8));
    h.topDown = height < 0;
    h.height = h.topDown ? -static_cast<std::int64_t>(height) : height;
    planes = in.u16(info + 12);
    h.bitCount = in.u16(info + 14);
    h.compression = Compression(in.u32(info + 16));
    h.colorsUsed = in.u32(info + 32);
  } else {
    throw BitmapError();
  }
  h.paletteOffset = info + infoSize;
  if (planes != 1 || h.width <= 0 || h.height <= 0) throw BitmapError();

  switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: throw BitmapError();
  }
  switch (h.compression) {
    case Compression::Rgb: break;
    case Compression::Rle8:
      if (h.bitCount != 8 || h.topDown) throw BitmapError();
      break;
    case Compression::Rle4:
      if (h.bitCount != 4 || h.topDown) throw BitmapError();
      break;
    case Compression::BitFields:
      if (h.bitCount != 16 && h.bitCount != 32) throw BitmapError();
      break;
    default: throw BitmapError();
  }

  if (h.compression == Compression::BitFields) {
    // The three masks follow a plain info header, and are part of the larger headers.
    const std::size_t masks = infoSize == kInfoHeader ? h.paletteOffset : info + 40;
    for (int c = 0; c < 3; ++c) h.channels[c] = Channel(in.u32(masks + 4 * c));
    if (infoSize == kInfoHeader) h.paletteOffset += 12;
  } else if (h.bitCount == 16) {
    h.channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
  } else if (h.bitCount == 32) {
    h.channels = {Channel(0x00FF0000), Channel(0x0000FF00), Channel(0x000000FF)};
  }
  return h;
}

std::vector<QRgb> readPalette(const Reader& in, const Header& h) {
  std::vector<QRgb> palette;
  if (h.bitCount > 8) return palette;
  const std::uint32_t full = 1u << h.bitCount;
  const std::uint32_t count = h.colorsUsed == 0 ? full : std::min(h.colorsUsed, full);
  const std::uint8_t* entries = in.at(h.paletteOffset, std::size_t{count} * h.paletteEntrySize);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* e = entries + std::size_t{i} * h.paletteEntrySize;
    palette.push_back(qRgb(e[2], e[1], e[0]));
  }
  // Indices past the stored colours show black.
  palette.resize(full, qRgb(0, 0, 0));
  return palette;
}

QRgb* rowOf(QImage& image, const Header& h, std::int64_t fileRow) {
  const std::int64_t y = h.topDown ? fileRow : h.height - 1 - fileRow;
  return reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
}

void decodeUncompressed(const Reader& in, std::size_t offset, const Header& h,
                        const std::vector<QRgb>& palette, QImage& image) {
  const std::uint64_t stride = ((static_cast<std::uint64_t>(h.width) * h.bitCount + 31) / 32) * 4;
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(h.width) * h.bitCount + 7) / 8;
  // The last row needs no padding after it.
  const std::uint64_t needed = stride * static_cast<std::uint64_t>(h.height - 1) + rowBytes;
  if (!in.has(offset, needed)) throw BitmapError();
  const std::uint8_t* pixels = in.at(offset, needed);
  for (std::int64_t fileRow = 0; fileRow < h.height; ++fileRow) {
    const std::uint8_t* src = pixels + stride * static_cast<std::uint64_t>(fileRow);
    QRgb* out = rowOf(image, h, fileRow);
    for (std::int64_t x = 0; x < h.width; ++x) {
      switch (h.bitCount) {
        case 1: out[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1]; break;
        case 4: out[x] = palette[(src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F]; break;
        case 8: out[x] = palette[src[x]]; break;
        case 24: out[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
        case 16:
        case 32: {
          const std::uint32_t pixel = h.bitCount == 16 ? coding::decodeFixed16(src + 2 * x)
                                                       : coding::decodeFixed32(src + 4 * x);
          out[x] = qRgb(h.channels[0].value(pixel), h.channels[1].value(pixel),
                        h.channels[2].value(pixel));
          break;
        }
      }
    }
  }
}

// Run-length data: pairs (count, colour) repeat a colour; (0, 0) ends a row, (0, 1) ends the
// bitmap, (0, 2, dx, dy) moves the pen, (0, n >= 3) is n literal indices padded to a word. Pixels
// never painted stay black. Runs that leave the image are clipped; data that ends early ends the
// bitmap where it stops.
void decodeRunLength(const Reader& in, std::size_t offset, const Header& h,
                     const std::vector<QRgb>& palette, QImage& image) {
  const bool four = h.compression == Compression::Rle4;
  std::int64_t x = 0;
  std::int64_t row = 0;
  std::size_t pos = offset;
  auto put = [&](int index) {
    if (x < h.width && row < h.height) rowOf(image, h, row)[x] = palette[index];
    ++x;
  };
  while (row < h.height && in.has(pos, 2)) {
    const int count = in.u8(pos);
    const int value = in.u8(pos + 1);
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i)
        put(four ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (!in.has(pos, 2)) break;
      x += in.u8(pos);
      row += in.u8(pos + 1);
      pos += 2;
    } else {
      const std::size_t bytes = four ? (static_cast<std::size_t>(value) + 1) / 2 : value;
      if (!in.has(pos, bytes)) break;
      for (int i = 0; i < value; ++i) {
        const std::uint8_t b = in.u8(pos + (four ? i / 2 : i));
        put(four ? ((i % 2 == 0) ? b >> 4 : b & 0x0F) : b);
      }
      pos += (bytes + 1) & ~std::size_t{1};
    }
  }
}

}  // namespace

QImage readBitmap(const std::uint8_t* data, std::size_t size, std::uint64_t maxPixels) {
  if (data == nullptr || size < kFileHeaderSize) throw BitmapError();
  const Reader in(data, size);
  const Header h = readHeader(in);
  if (h.width > 32767 || h.height > 32767 ||
      static_cast<std::uint64_t>(h.width) * static_cast<std::uint64_t>(h.height) > maxPixels)
    throw BitmapError();
  const std::vector<QRgb> palette = readPalette(in, h);

  std::size_t offset = in.u32(10);
  if (offset == 0)
    offset = h.paletteOffset + palette.size() * static_cast<std::size_t>(h.paletteEntrySize);
  if (offset >= size) throw BitmapError();

  QImage image(static_cast<int>(h.width), static_cast<int>(h.height), QImage::Format_RGB32);
  if (image.isNull()) throw BitmapError();
  if (h.compression == Compression::Rle8 || h.compression == Compression::Rle4) {
    image.fill(qRgb(0, 0, 0));
    decodeRunLength(in, offset, h, palette, image);
  } else {
    decodeUncompressed(in, offset, h, palette, image);
  }
  return image;
}

QImage readBitmap(const QByteArray& bytes) {
  return readBitmap(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size()));
}

QImage readBitmapFile(const QString& path) { return readBitmap(readWholeFile(path)); }

}  // namespace wf
