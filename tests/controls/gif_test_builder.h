// Builds small GIF streams byte by byte for the GIF tests, including deliberately broken ones.
// The LZW data is written without compression unless asked for: a clear code before the code
// table could grow, so every code keeps the minimum width. compressed() writes real LZW, whose
// codes widen as the table grows.
#pragma once

#include "controls/gif_image.h"

#include <QByteArray>
#include <QRect>
#include <QRgb>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace wf::test {

class GifBuilder {
 public:
  // Continues after `prefix`, typically the start of another stream.
  explicit GifBuilder(const QByteArray& prefix = {}) : bytes_(prefix.begin(), prefix.end()) {}

  // Signature and logical screen, with a global colour table when `global` is not empty (its
  // size is rounded up to a power of two with black entries).
  GifBuilder& screen(int width, int height, const std::vector<QRgb>& global = {},
                     const char* version = "89a", int background = 0) {
    append(std::string("GIF") + version);
    word(width);
    word(height);
    int bits = tableBits(global.size());
    byte(global.empty() ? 0 : 0x80 | 0x70 | (bits - 1));
    byte(background);
    byte(0);
    table(global, bits);
    return *this;
  }

  GifBuilder& control(int delayHundredths, GifDisposal disposal, int transparentIndex = -1) {
    raw({0x21, 0xF9, 0x04});
    byte((int(disposal) << 2) | (transparentIndex >= 0 ? 1 : 0));
    word(delayHundredths);
    byte(transparentIndex >= 0 ? transparentIndex : 0);
    byte(0);
    return *this;
  }

  GifBuilder& loop(int count) {
    raw({0x21, 0xFF, 0x0B});
    append("NETSCAPE2.0");
    raw({0x03, 0x01});
    word(count);
    byte(0);
    return *this;
  }

  GifBuilder& comment(const std::string& text) {
    raw({0x21, 0xFE});
    byte(static_cast<int>(text.size()));
    append(text);
    byte(0);
    return *this;
  }

  // An image of `rect` with one colour index per pixel, row by row.
  GifBuilder& image(QRect rect, const std::vector<uint8_t>& pixels, int codeSize = 2,
                    const std::vector<QRgb>& local = {}, bool interlaced = false) {
    imageHeader(rect, local, interlaced);
    byte(codeSize);
    dataBlocks(encode(pixels, codeSize));
    return *this;
  }

  // As image(), with the pixels LZW-compressed: repeated runs become table codes, and the code
  // width grows up to 12 bits, after which a clear code starts a new table.
  GifBuilder& compressed(QRect rect, const std::vector<uint8_t>& pixels, int codeSize,
                         bool interlaced = false) {
    imageHeader(rect, {}, interlaced);
    byte(codeSize);
    dataBlocks(compress(pixels, codeSize));
    return *this;
  }

  static std::vector<uint8_t> compress(const std::vector<uint8_t>& pixels, int codeSize) {
    const int clear = 1 << codeSize;
    std::map<std::pair<int, int>, int> table;
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    int width = codeSize + 1;
    int next = clear + 2;
    auto put = [&](int code) {
      bits |= static_cast<uint32_t>(code) << count;
      count += width;
      while (count >= 8) {
        out.push_back(static_cast<uint8_t>(bits & 0xff));
        bits >>= 8;
        count -= 8;
      }
      // The decoder's table is one entry behind: it widens when its next entry needs the bit.
      if (next >= (1 << width) && width < 12) ++width;
    };
    put(clear);
    int prefix = -1;
    for (uint8_t value : pixels) {
      if (prefix < 0) {
        prefix = value;
        continue;
      }
      const auto found = table.find({prefix, value});
      if (found != table.end()) {
        prefix = found->second;
        continue;
      }
      put(prefix);
      if (next < 4096) {
        table[{prefix, value}] = next++;
      } else {
        put(clear);
        table.clear();
        width = codeSize + 1;
        next = clear + 2;
      }
      prefix = value;
    }
    if (prefix >= 0) put(prefix);
    put(clear + 1);
    if (count > 0) out.push_back(static_cast<uint8_t>(bits & 0xff));
    return out;
  }

  // Image descriptor only; the caller writes the code size and data.
  GifBuilder& imageHeader(QRect rect, const std::vector<QRgb>& local = {},
                          bool interlaced = false) {
    byte(0x2C);
    word(rect.x());
    word(rect.y());
    word(rect.width());
    word(rect.height());
    int bits = tableBits(local.size());
    byte((local.empty() ? 0 : 0x80 | (bits - 1)) | (interlaced ? 0x40 : 0));
    table(local, bits);
    return *this;
  }

  // LZW data given as codes of a fixed width, packed into sub-blocks.
  GifBuilder& codes(int codeSize, const std::vector<int>& values, int width) {
    byte(codeSize);
    dataBlocks(pack(values, width));
    return *this;
  }

  GifBuilder& raw(std::initializer_list<uint8_t> values) {
    for (uint8_t v : values) bytes_.push_back(v);
    return *this;
  }

  GifBuilder& trailer() { return raw({0x3B}); }

  QByteArray data() const {
    return QByteArray(reinterpret_cast<const char*>(bytes_.data()),
                      static_cast<int>(bytes_.size()));
  }

 private:
  void byte(int v) { bytes_.push_back(static_cast<uint8_t>(v)); }
  void word(int v) {
    byte(v & 0xff);
    byte((v >> 8) & 0xff);
  }
  void append(const std::string& s) {
    for (char c : s) bytes_.push_back(static_cast<uint8_t>(c));
  }

  static int tableBits(std::size_t entries) {
    int bits = 1;
    while ((std::size_t{1} << bits) < entries) ++bits;
    return bits;
  }

  void table(const std::vector<QRgb>& colors, int bits) {
    if (colors.empty()) return;
    for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
      QRgb c = i < colors.size() ? colors[i] : qRgb(0, 0, 0);
      byte(qRed(c));
      byte(qGreen(c));
      byte(qBlue(c));
    }
  }

  static std::vector<uint8_t> encode(const std::vector<uint8_t>& pixels, int codeSize) {
    const int clear = 1 << codeSize;
    const int perClear = std::max(1, (1 << codeSize) - 4);
    std::vector<int> values;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      if (i % perClear == 0) values.push_back(clear);
      values.push_back(pixels[i]);
    }
    values.push_back(clear + 1);
    return pack(values, codeSize + 1);
  }

  static std::vector<uint8_t> pack(const std::vector<int>& values, int width) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    for (int v : values) {
      bits |= static_cast<uint32_t>(v) << count;
      count += width;
      while (count >= 8) {
        out.push_back(static_cast<uint8_t>(bits & 0xff));
        bits >>= 8;
        count -= 8;
      }
    }
    if (count > 0) out.push_back(static_cast<uint8_t>(bits & 0xff));
    return out;
  }

  void dataBlocks(const std::vector<uint8_t>& data) {
    for (std::size_t i = 0; i < data.size(); i += 255) {
      std::size_t n = std::min<std::size_t>(255, data.size() - i);
      byte(static_cast<int>(n));
      for (std::size_t k = i; k < i + n; ++k) bytes_.push_back(data[k]);
    }
    byte(0);
  }

  std::vector<uint8_t> bytes_;
};

}  // namespace wf::test
