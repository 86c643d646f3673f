#include "controls/gif_lzw.h"

#include <array>
#include <memory>

namespace wf {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

// Reads codes least significant bit first across the joined data.
class CodeReader {
 public:
  explicit CodeReader(const std::vector<std::uint8_t>& data) : data_(data) {}

  // False when the data ends before the code does.
  bool read(int width, int& code) {
    while (bitCount_ < width) {
      if (pos_ >= data_.size()) return false;
      bits_ |= static_cast<std::uint32_t>(data_[pos_++]) << bitCount_;
      bitCount_ += 8;
    }
    code = static_cast<int>(bits_ & ((1u << width) - 1));
    bits_ >>= width;
    bitCount_ -= width;
    return true;
  }

 private:
  const std::vector<std::uint8_t>& data_;
  std::size_t pos_ = 0;
  std::uint32_t bits_ = 0;
  int bitCount_ = 0;
};

// The string table: each code is its prefix code plus one last value; its first value and its
// length make writing it out one backwards walk.
struct StringTable {
  std::array<int, kTableSize> prefix{};
  std::array<int, kTableSize> last{};
  std::array<int, kTableSize> first{};
  std::array<int, kTableSize> length{};
};

}  // namespace

LzwResult decodeLzw(const std::vector<std::uint8_t>& data, int minCodeSize, std::size_t pixelCount,
                    std::vector<std::uint8_t>& pixels) {
  pixels.assign(pixelCount, 0);
  if (minCodeSize < 2 || minCodeSize >= kMaxCodeBits) return LzwResult::Corrupt;
  const int clear = 1 << minCodeSize;
  const int end = clear + 1;
  auto table = std::make_unique<StringTable>();
  for (int code = 0; code < clear; ++code) {
    table->prefix[code] = -1;
    table->last[code] = table->first[code] = code;
    table->length[code] = 1;
  }

  CodeReader reader(data);
  int width = minCodeSize + 1;
  int next = end + 1;
  int previous = -1;
  std::size_t written = 0;
  while (written < pixelCount) {
    int code = 0;
    if (!reader.read(width, code)) return LzwResult::Corrupt;
    if (code == clear) {
      width = minCodeSize + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (code == end) return LzwResult::Corrupt;  // before the last pixel
    if (code > next || (code == next && (previous < 0 || next >= kTableSize)))
      return LzwResult::Corrupt;
    // A new entry: the previous string plus the first value of this one (of the previous one
    // itself when the code is the entry being made).
    if (previous >= 0 && next < kTableSize) {
      const int firstValue = code == next ? table->first[previous] : table->first[code];
      table->prefix[next] = previous;
      table->last[next] = firstValue;
      table->first[next] = table->first[previous];
      table->length[next] = table->length[previous] + 1;
      ++next;
      if (next == (1 << width) && width < kMaxCodeBits) ++width;
    }
    // Write the string backwards from its last value, cut at the last pixel.
    const std::size_t length = static_cast<std::size_t>(table->length[code]);
    for (int c = code, i = static_cast<int>(length) - 1; c >= 0; c = table->prefix[c], --i) {
      const std::size_t at = written + static_cast<std::size_t>(i);
      if (table->last[c] > 0xFF) return LzwResult::Corrupt;  // no colour table holds it
      if (at < pixelCount) pixels[at] = static_cast<std::uint8_t>(table->last[c]);
    }
    written += length;
    previous = code;
  }
  return LzwResult::Ok;
}

}  // namespace wf
