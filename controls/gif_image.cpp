#include "controls/gif_image.h"

#include "controls/gif_lzw.h"
#include "store/byte_coding.h"

#include <QFile>

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace wf {

namespace {

// Refuse pictures whose pixels alone would need more memory than the application can spare;
// a few header bytes could otherwise ask for gigabytes. 4096 by 4096 per screen or frame, and
// 256 MiB of colour indexes for the whole animation, are far beyond anything it shows.
constexpr long long kMaxPixels = 4096LL * 4096LL;
constexpr long long kMaxTotalPixels = 256LL * 1024 * 1024;

constexpr int kGraphicControlExt = 0xF9;
constexpr int kCommentExt = 0xFE;
constexpr int kPlainTextExt = 0x01;
constexpr int kApplicationExt = 0xFF;

// The bytes giflib pulls through the read callback; it never gets more than what is left.
struct ByteSource {
  const uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t pos = 0;
  bool shortRead = false;  // some request could not be filled: the input is truncated
};

int readFromSource(GifFileType* gif, GifByteType* buffer, int length) {
  auto* source = static_cast<ByteSource*>(gif->UserData);
  if (length <= 0) return 0;
  std::size_t left = source->size - source->pos;
  std::size_t count = std::min(left, static_cast<std::size_t>(length));
  if (count < static_cast<std::size_t>(length)) source->shortRead = true;
  if (count > 0) std::memcpy(buffer, source->data + source->pos, count);
  source->pos += count;
  return static_cast<int>(count);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void failWith(int giflibError) {
  switch (giflibError) {
    case D_GIF_ERR_NOT_GIF_FILE: throw GifError(gifmsg::kUnknownVersion);
    case D_GIF_ERR_IMAGE_DEFECT:  // an LZW code that the table cannot hold
    case D_GIF_ERR_EOF_TOO_SOON:  // the image data ends before its last pixel
    case D_GIF_ERR_WRONG_RECORD:  // a block that is neither image, extension nor trailer
      throw GifError(gifmsg::kCorrupt);
    case D_GIF_ERR_NOT_ENOUGH_MEM: throw std::bad_alloc();
    default:  // truncated input, missing descriptors, a frame larger than its data
      throw GifError(gifmsg::kReadError);
  }
}

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// The largest minimum code size a picture may give; giflib stops at 8, and 9 is ours to decode.
constexpr int kOwnLzwCodeSize = 9;

// The rows of an interlaced image in the order their data comes: every 8th from 0, every 8th
// from 4, every 4th from 2, every 2nd from 1.
std::vector<int> interlacedRowOrder(int height) {
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(height));
  for (int pass = 0; pass < 4; ++pass)
    for (int row = kStart[pass]; row < height; row += kStep[pass]) rows.push_back(row);
  return rows;
}

// The message's %.2x is the program's hexadecimal format: at least two digits, upper case.
std::string unknownExtensionMessage(int code) {
  std::string format = gifmsg::kUnknownExtension;
  format.back() = 'X';
  char text[64];
  std::snprintf(text, sizeof text, format.c_str(), static_cast<unsigned>(code));
  return text;
}

}  // namespace

// Walks the blocks of one GIF stream with giflib's record-level calls, so that every size is
// checked before anything is allocated for it.
class GifDecoder {
 public:
  GifDecoder(const uint8_t* data, std::size_t size) {
    source_.data = data;
    source_.size = size;
  }

  TGIFImage decode() {
    checkSignature();
    int error = 0;
    GifHandle gif(DGifOpen(&source_, readFromSource, &error));
    if (!gif) failWith(error);
    gif_ = gif.get();
    readScreen();
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    do {
      if (DGifGetRecordType(gif_, &type) == GIF_ERROR) failWith(gif_->Error);
      switch (type) {
        case IMAGE_DESC_RECORD_TYPE: readFrame(); break;
        case EXTENSION_RECORD_TYPE: readExtension(); break;
        case TERMINATE_RECORD_TYPE: break;
        default: throw GifError(gifmsg::kCorrupt);
      }
    } while (type != TERMINATE_RECORD_TYPE);
    image_.frameIndex_ = 0;
    return std::move(image_);
  }

 private:
  // Pending graphic control values for the next image.
  struct Control {
    int delay = 0;
    GifDisposal disposal = GifDisposal::None;
    int transparentIndex = -1;
  };

  void checkSignature() const {
    const uint8_t* d = source_.data;
    std::size_t n = source_.size;
    if (n >= 3 && std::memcmp(d, "GIF", 3) != 0) throw GifError(gifmsg::kUnknownVersion);
    if (n < 6) throw GifError(gifmsg::kReadError);
    if (std::memcmp(d + 3, "87a", 3) != 0 && std::memcmp(d + 3, "89a", 3) != 0)
      throw GifError(gifmsg::kUnknownVersion);
  }

  void readScreen() {
    if (static_cast<long long>(gif_->SWidth) * gif_->SHeight > kMaxPixels)
      throw GifError(gifmsg::kReadError);
    image_.screen_ = QSize(gif_->SWidth, gif_->SHeight);
    const ColorMapObject* global = gif_->SColorMap;
    image_.hasGlobalColorTable_ = global != nullptr;
    if (global) {
      checkColorCount(global);
      if (gif_->SBackGroundColor >= 0 && gif_->SBackGroundColor < global->ColorCount) {
        const GifColorType& c = global->Colors[gif_->SBackGroundColor];
        image_.background_ = qRgb(c.Red, c.Green, c.Blue);
      }
    }
  }

  static void checkColorCount(const ColorMapObject* map) {
    if (!isPowerOfTwo(map->ColorCount) || map->ColorCount > 256)
      throw GifError(gifmsg::kColorCount);
  }

  void readExtension() {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) failWith(gif_->Error);
    switch (code) {
      case kGraphicControlExt: takeGraphicControl(block); break;
      case kApplicationExt:
        if (block && block[0] == 11 &&
            (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
             std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0)) {
          return readLoopBlocks();
        }
        break;
      case kCommentExt:
      case kPlainTextExt: break;
      default: {
        throw GifError(unknownExtensionMessage(code));
      }
    }
    skipSubBlocks(block);
  }

  void takeGraphicControl(const GifByteType* block) {
    // block[0] is the sub-block length; a graphic control block carries 4 bytes.
    if (!block || block[0] < 4) return;
    int packed = block[1];
    control_.delay = std::max(control_.delay, 10 * int(coding::decodeFixed16(block + 2)));
    control_.disposal = GifDisposal((packed >> 2) & 7);
    control_.transparentIndex = (packed & 1) ? block[4] : -1;
  }

  void readLoopBlocks() {
    GifByteType* block = nullptr;
    do {
      if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) failWith(gif_->Error);
      if (block && block[0] >= 3 && block[1] == 1)
        image_.repeatCount_ = coding::decodeFixed16(block + 2);
    } while (block);
  }

  void skipSubBlocks(GifByteType* block) {
    while (block) {
      if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) failWith(gif_->Error);
    }
  }

  void readFrame() {
    std::size_t before = source_.pos;
    bool ownLzw = false;
    if (DGifGetImageDesc(gif_) == GIF_ERROR) {
      // giflib refuses a minimum code size above 8 with a read failure although the bytes were
      // all there; tell that apart from a truncated stream. The descriptor and colour table
      // are read by then, so a code size of 9 is decoded here instead.
      if (gif_->Error != D_GIF_ERR_READ_FAILED || source_.shortRead || source_.pos <= before)
        failWith(gif_->Error);
      if (source_.data[source_.pos - 1] != kOwnLzwCodeSize) throw GifError(gifmsg::kCodeSize);
      ownLzw = true;
    }
    // The descriptor read ends with the LZW minimum code size byte.
    int codeSize = source_.data[source_.pos - 1];
    if (codeSize < 2 || codeSize > kOwnLzwCodeSize) throw GifError(gifmsg::kCodeSize);

    const GifImageDesc& desc = gif_->Image;
    long long pixels = static_cast<long long>(desc.Width) * desc.Height;
    if (pixels > kMaxPixels || totalPixels_ + pixels > kMaxTotalPixels)
      throw GifError(gifmsg::kReadError);
    totalPixels_ += pixels;

    TGIFFrame frame;
    frame.rect_ = QRect(desc.Left, desc.Top, desc.Width, desc.Height);
    frame.delay_ = control_.delay;
    frame.disposal_ = control_.disposal;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif_->SColorMap;
    frame.palette_.assign(256, qRgb(0, 0, 0));
    if (map) {
      checkColorCount(map);
      for (int i = 0; i < map->ColorCount; ++i)
        frame.palette_[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    }
    if (control_.transparentIndex >= 0) {
      frame.transparentIndex_ = control_.transparentIndex;
      frame.transparentColor_ = frame.palette_[control_.transparentIndex];
    }
    control_ = Control();
    if (ownLzw) {
      readPixelsOwnLzw(frame, codeSize, desc.Interlace);
    } else {
      readPixels(frame, desc.Interlace);
    }
    image_.frames_.push_back(std::move(frame));
  }

  void readPixels(TGIFFrame& frame, bool interlaced) {
    int width = frame.rect_.width();
    int height = frame.rect_.height();
    if (width == 0 || height == 0) return skipImageData();
    frame.indexes_.resize(static_cast<std::size_t>(width) * height);
    auto readRow = [&](int row) {
      GifPixelType* line = frame.indexes_.data() + static_cast<std::size_t>(row) * width;
      if (DGifGetLine(gif_, line, width) == GIF_ERROR) failWith(gif_->Error);
    };
    if (!interlaced) {
      for (int row = 0; row < height; ++row) readRow(row);
      return;
    }
    for (int row : interlacedRowOrder(height)) readRow(row);
  }

  // The image data read straight from the input, sub-block by sub-block, and decoded here.
  void readPixelsOwnLzw(TGIFFrame& frame, int codeSize, bool interlaced) {
    std::vector<uint8_t> data;
    for (;;) {
      if (source_.pos >= source_.size) throw GifError(gifmsg::kReadError);
      const std::size_t length = source_.data[source_.pos++];
      if (length == 0) break;
      if (source_.size - source_.pos < length) throw GifError(gifmsg::kReadError);
      data.insert(data.end(), source_.data + source_.pos, source_.data + source_.pos + length);
      source_.pos += length;
    }
    const int width = frame.rect_.width();
    const int height = frame.rect_.height();
    std::vector<uint8_t> decoded;
    if (decodeLzw(data, codeSize, static_cast<std::size_t>(width) * height, decoded) !=
        LzwResult::Ok)
      throw GifError(gifmsg::kCorrupt);
    if (!interlaced) {
      frame.indexes_ = std::move(decoded);
      return;
    }
    frame.indexes_.resize(decoded.size());
    std::size_t next = 0;
    for (int row : interlacedRowOrder(height)) {
      std::copy_n(decoded.begin() + static_cast<std::ptrdiff_t>(next), width,
                  frame.indexes_.begin() + static_cast<std::ptrdiff_t>(row) * width);
      next += static_cast<std::size_t>(width);
    }
  }

  // An image without pixels still carries its code blocks; they must be consumed.
  void skipImageData() {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif_, &codeSize, &block) == GIF_ERROR) failWith(gif_->Error);
    while (block) {
      if (DGifGetCodeNext(gif_, &block) == GIF_ERROR) failWith(gif_->Error);
    }
  }

  ByteSource source_;
  GifFileType* gif_ = nullptr;
  TGIFImage image_;
  Control control_;
  long long totalPixels_ = 0;
};

bool TGIFFrame::coversScreen(QSize screen) const {
  return rect_.left() <= 0 && rect_.top() <= 0 && rect_.right() >= screen.width() - 1 &&
         rect_.bottom() >= screen.height() - 1;
}

const QImage& TGIFFrame::bitmap() const {
  if (!bitmap_.isNull() || rect_.isEmpty()) return bitmap_;
  QImage image(rect_.size(), QImage::Format_ARGB32);
  const int width = rect_.width();
  for (int y = 0; y < rect_.height(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    const uint8_t* in = indexes_.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x)
      out[x] = in[x] == transparentIndex_ ? qRgba(0, 0, 0, 0) : palette_[in[x]];
  }
  bitmap_ = std::move(image);
  return bitmap_;
}

void TGIFImage::loadFromData(const uint8_t* data, std::size_t size) {
  static const uint8_t kNothing = 0;
  GifDecoder decoder(data ? data : &kNothing, data ? size : 0);
  TGIFImage decoded = decoder.decode();
  decoded.transparent_ = transparent_;
  *this = std::move(decoded);
}

void TGIFImage::loadFromData(const QByteArray& data) {
  loadFromData(reinterpret_cast<const uint8_t*>(data.constData()),
               static_cast<std::size_t>(data.size()));
}

void TGIFImage::loadFromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw GifError(gifmsg::kReadError);
  loadFromData(file.readAll());
}

void TGIFImage::setFrameIndex(int index) {
  if (index >= 0 && index < frameCount()) frameIndex_ = index;
}

}  // namespace wf
