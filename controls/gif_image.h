// A decoded GIF87a/GIF89a picture: logical screen, colour tables and the frames with their
// timing, disposal and transparency. Decoding needs no QApplication; frames become QImages.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace wf {

// Raised when a picture cannot be read; what() is the message shown to the user.
class GifError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace gifmsg {
inline constexpr const char* kUnknownVersion = "Unknown GIF version";
inline constexpr const char* kCorrupt = "GIF encoded data is corrupt";
inline constexpr const char* kCodeSize = "GIF code size not in range 2 to 9";
inline constexpr const char* kColorCount = "Wrong number of colors; must be a power of 2";
inline constexpr const char* kUnknownExtension = "Unrecognized extension block: %.2x";
inline constexpr const char* kReadError = "Stream read error";
}  // namespace gifmsg

// How the area of a frame is treated before the next frame is drawn.
// The undefined values 4 to 7 are kept and treated as None.
enum class GifDisposal : int { None = 0, Keep = 1, Background = 2, Previous = 3 };

// One frame: its place on the logical screen, its pixels as colour indexes with the colour
// table that applies to it, and what its graphic control extensions said.
class TGIFFrame {
 public:
  QRect rect() const { return rect_; }
  int delay() const { return delay_; }  // milliseconds
  GifDisposal disposal() const { return disposal_; }
  std::optional<QRgb> transparentColor() const { return transparentColor_; }
  bool coversScreen(QSize screen) const;

  // The frame's pixels, built from the indexes on first use. Transparent pixels have alpha 0,
  // every other pixel is opaque. Not thread-safe: callers serialise access to one picture.
  const QImage& bitmap() const;

 private:
  friend class GifDecoder;
  QRect rect_;
  int delay_ = 0;
  GifDisposal disposal_ = GifDisposal::None;
  int transparentIndex_ = -1;
  std::optional<QRgb> transparentColor_;
  std::vector<QRgb> palette_;     // always 256 entries, unused ones opaque black
  std::vector<uint8_t> indexes_;  // width * height, row by row, de-interlaced
  mutable QImage bitmap_;
};

class TGIFImage {
 public:
  TGIFImage() = default;

  // Replaces the picture with the one in `data`. Throws GifError with one of the gifmsg texts
  // for malformed input; the picture is then left as it was. Never reads past data + size.
  void loadFromData(const uint8_t* data, std::size_t size);
  void loadFromData(const QByteArray& data);
  // Reads a file; a file that cannot be opened gives the stream read error.
  void loadFromFile(const QString& path);

  bool isEmpty() const { return frames_.empty(); }
  QSize screenSize() const { return screen_; }
  int width() const { return screen_.width(); }
  int height() const { return screen_.height(); }
  const std::vector<TGIFFrame>& frames() const { return frames_; }
  int frameCount() const { return static_cast<int>(frames_.size()); }

  // The frame the picture presents when nothing else is asked for; 0 after a read.
  int frameIndex() const { return frameIndex_; }
  void setFrameIndex(int index);

  // Whether the picture lets what lies under it show through; true from construction.
  bool transparent() const { return transparent_; }
  void setTransparent(bool value) { transparent_ = value; }

  // The logical screen's background colour (global table entry), opaque black without one.
  QRgb backgroundColor() const { return background_; }
  // Loop count of the NETSCAPE2.0 application extension, -1 when the picture has none.
  int repeatCount() const { return repeatCount_; }
  bool hasGlobalColorTable() const { return hasGlobalColorTable_; }

 private:
  friend class GifDecoder;
  QSize screen_;
  std::vector<TGIFFrame> frames_;
  int frameIndex_ = 0;
  bool transparent_ = true;
  QRgb background_ = 0xff000000;
  int repeatCount_ = -1;
  bool hasGlobalColorTable_ = false;
};

}  // namespace wf
