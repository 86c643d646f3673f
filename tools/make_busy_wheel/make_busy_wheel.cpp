// Draws the closing window's busy wheel and writes it as an animated GIF89a:
// 32 by 32 pixels, a 256-entry grey global colour table whose index 0 is the transparent white,
// a NETSCAPE2.0 loop block that repeats forever, and 12 frames of 100 ms that do not dispose.
// Frame 0 draws the whole wheel; every later frame is the smallest rectangle around the spokes
// whose shade changed, with all other pixels left transparent, so the frames only work when
// each is drawn over the previous one.
//
// Usage: make_busy_wheel <output.gif>
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSpokes = 12;
constexpr int kFrames = 12;
constexpr int kSubSamples = 4;  // per axis, for anti-aliased spoke edges
constexpr double kInnerRadius = 7.0;
constexpr double kOuterRadius = 14.5;
constexpr double kHalfWidth = 1.5;
constexpr double kPi = 3.14159265358979323846;

// Grey level of a spoke by how far it trails the leading spoke; the dark head moves clockwise.
constexpr std::array<int, 5> kTrailShades = {40, 90, 140, 180, 215};

int shadeOf(int spoke, int head) {
  int behind = ((head - spoke) % kSpokes + kSpokes) % kSpokes;
  return kTrailShades[std::min<int>(behind, kTrailShades.size() - 1)];
}

// How many of a pixel's sub-samples each spoke covers.
using Coverage = std::array<int, kSpokes>;

double distanceToSpoke(double x, double y, int spoke) {
  double angle = spoke * 2 * kPi / kSpokes;  // clockwise from twelve o'clock
  double ux = std::sin(angle), uy = -std::cos(angle);
  double cx = x - kSize / 2.0, cy = y - kSize / 2.0;
  double along = std::clamp(cx * ux + cy * uy, kInnerRadius, kOuterRadius);
  double dx = cx - along * ux, dy = cy - along * uy;
  return std::sqrt(dx * dx + dy * dy);
}

std::vector<Coverage> measureCoverage() {
  std::vector<Coverage> coverage(kSize * kSize);
  for (int py = 0; py < kSize; ++py)
    for (int px = 0; px < kSize; ++px)
      for (int sy = 0; sy < kSubSamples; ++sy)
        for (int sx = 0; sx < kSubSamples; ++sx) {
          double x = px + (sx + 0.5) / kSubSamples, y = py + (sy + 0.5) / kSubSamples;
          for (int s = 0; s < kSpokes; ++s)
            if (distanceToSpoke(x, y, s) <= kHalfWidth) ++coverage[py * kSize + px][s];
        }
  return coverage;
}

bool touched(const Coverage& c) {
  return std::any_of(c.begin(), c.end(), [](int n) { return n > 0; });
}

// Palette index of a pixel on a white ground with the spokes shaded for `head`. Index i shows
// grey 256 - i, so a drawn pixel is never index 0, which stays free for transparency.
GifPixelType pixelIndex(const Coverage& c, int head) {
  double grey = 255.0;
  constexpr double kSamples = kSubSamples * kSubSamples;
  for (int s = 0; s < kSpokes; ++s) grey -= c[s] / kSamples * (255 - shadeOf(s, head));
  int level = std::clamp(static_cast<int>(std::lround(grey)), 1, 255);
  return static_cast<GifPixelType>(256 - level);
}

struct Frame {
  int left = 0, top = 0, width = kSize, height = kSize;
  std::vector<GifPixelType> pixels;
};

// The frame showing `head` as the leading spoke, redrawing only the spokes in `changed`.
Frame makeFrame(const std::vector<Coverage>& coverage, int head, const std::vector<bool>& changed) {
  auto redraws = [&](const Coverage& c) {
    for (int s = 0; s < kSpokes; ++s)
      if (c[s] > 0 && changed[s]) return true;
    return false;
  };
  int x0 = kSize, y0 = kSize, x1 = -1, y1 = -1;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (redraws(coverage[y * kSize + x])) {
        x0 = std::min(x0, x), y0 = std::min(y0, y);
        x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
  Frame frame;
  bool whole = std::all_of(changed.begin(), changed.end(), [](bool b) { return b; });
  if (!whole) frame = Frame{x0, y0, x1 - x0 + 1, y1 - y0 + 1, {}};
  for (int y = frame.top; y < frame.top + frame.height; ++y)
    for (int x = frame.left; x < frame.left + frame.width; ++x) {
      const Coverage& c = coverage[y * kSize + x];
      bool draw = whole ? touched(c) : redraws(c);
      frame.pixels.push_back(draw ? pixelIndex(c, head) : 0);
    }
  return frame;
}

bool writeGif(const char* path, const std::vector<Frame>& frames) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path, false, &error);
  if (!gif) return false;
  EGifSetGifVersion(gif, true);
  GifColorType colors[256];
  colors[0] = {255, 255, 255};
  for (int i = 1; i < 256; ++i) {
    auto grey = static_cast<GifByteType>(256 - i);
    colors[i] = {grey, grey, grey};
  }
  ColorMapObject* map = GifMakeMapObject(256, colors);
  bool ok = map && EGifPutScreenDesc(gif, kSize, kSize, 8, 0, map) != GIF_ERROR;
  static const GifByteType kLoopName[] = "NETSCAPE2.0";
  static const GifByteType kLoopForever[] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
       EGifPutExtensionBlock(gif, 11, kLoopName) != GIF_ERROR &&
       EGifPutExtensionBlock(gif, 3, kLoopForever) != GIF_ERROR &&
       EGifPutExtensionTrailer(gif) != GIF_ERROR;
  for (const Frame& frame : frames) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = 10;
    control.TransparentColor = 0;
    GifByteType extension[4];
    size_t length = EGifGCBToExtension(&control, extension);
    ok = ok &&
         EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) !=
             GIF_ERROR &&
         EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false, nullptr) !=
             GIF_ERROR;
    for (int row = 0; ok && row < frame.height; ++row) {
      auto* line = const_cast<GifPixelType*>(frame.pixels.data() + row * frame.width);
      ok = EGifPutLine(gif, line, frame.width) != GIF_ERROR;
    }
  }
  GifFreeMapObject(map);
  return EGifCloseFile(gif, &error) != GIF_ERROR && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_busy_wheel <output.gif>\n");
    return 2;
  }
  std::vector<Coverage> coverage = measureCoverage();
  std::vector<Frame> frames;
  for (int head = 0; head < kFrames; ++head) {
    std::vector<bool> changed(kSpokes, head == 0);
    for (int s = 0; head > 0 && s < kSpokes; ++s)
      changed[s] = shadeOf(s, head) != shadeOf(s, head - 1);
    frames.push_back(makeFrame(coverage, head, changed));
  }
  for (size_t i = 0; i < frames.size(); ++i)
    std::printf("frame %zu: %d,%d %dx%d\n", i, frames[i].left, frames[i].top, frames[i].width,
                frames[i].height);
  if (!writeGif(argv[1], frames)) {
    std::fprintf(stderr, "make_busy_wheel: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
