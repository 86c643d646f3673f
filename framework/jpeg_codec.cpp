#include "framework/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

// jpeglib.h needs FILE and size_t declared first; jerror.h its version and configuration, which
// decide which messages it lists.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace wf {
namespace {

// Progressive streams can hold any number of scans, each a full pass over the image; no encoder
// writes more than a few dozen, so a stream with more is refused rather than decoded for ages.
constexpr int kMaxScans = 1000;
// Working memory libjpeg may take besides the output image.
constexpr long kMaxWorkingMemory = 1024L * 1024L * 1024L;

// libjpeg reports a fatal error by calling error_exit, which must not return. It jumps back to
// the setjmp in the decode or encode call; only C frames (libjpeg's and these callbacks) lie
// between, so no destructor is skipped.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

extern "C" void jumpOnError(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::longjmp(manager->jump, 1);
}

// Nothing is printed on the console.
extern "C" void discardMessage(j_common_ptr) {}

// The warnings that say the picture is incomplete or corrupt. libjpeg would go on and fill what
// it could not read with grey; such a picture is refused like any other undecodable one. The
// others (an unknown JFIF revision or Adobe transform, the caller's own scanline count) leave a
// whole picture.
bool isDamageWarning(int code) {
  switch (code) {
#if JPEG_LIB_VERSION >= 70 || defined(C_ARITH_CODING_SUPPORTED) || defined(D_ARITH_CODING_SUPPORTED)
    case JWRN_ARITH_BAD_CODE:
#endif
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_ICC: return true;
    default: return false;
  }
}

// Level -1 is a warning; higher levels are trace messages.
extern "C" void failOnDamage(j_common_ptr cinfo, int level) {
  if (level < 0 && isDamageWarning(cinfo->err->msg_code)) cinfo->err->error_exit(cinfo);
}

extern "C" void limitScans(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (decompress->input_scan_number > kMaxScans)
    ERREXIT1(cinfo, JERR_BAD_SCAN_SCRIPT, decompress->input_scan_number);
}

void setUpErrors(ErrorManager& errors) {
  jpeg_std_error(&errors.pub);
  errors.pub.error_exit = jumpOnError;
  errors.pub.output_message = discardMessage;
  errors.pub.emit_message = failOnDamage;
}

struct DecodeState {
  jpeg_decompress_struct cinfo;
  ErrorManager errors;
  jpeg_progress_mgr progress;
};

bool isCmyk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

// Adobe writes CMYK inverted (255 = no ink), which is what nearly every CMYK JPEG carries.
void cmykRowToRgb32(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
    int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
  }
}

// Returns 0 on success, otherwise the libjpeg message code. Holds no C++ object that a jump
// could skip; the image is assigned whole before any row is written.
int runDecode(DecodeState& s, const std::uint8_t* data, std::size_t size, std::uint64_t maxPixels,
              QImage& image) {
  j_decompress_ptr cinfo = &s.cinfo;
  cinfo->err = &s.errors.pub;
  setUpErrors(s.errors);
  if (setjmp(s.errors.jump)) {
    const int code = s.errors.pub.msg_code;
    jpeg_destroy_decompress(cinfo);
    return code != 0 ? code : -1;
  }
  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxWorkingMemory;
  s.progress.progress_monitor = limitScans;
  cinfo->progress = &s.progress;
  // jpeg_mem_src reads only [data, data + size); when the data runs out it supplies an end
  // marker with a warning, which fails the decode. Its size argument is an unsigned long.
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  const std::uint64_t pixels = std::uint64_t{cinfo->image_width} * cinfo->image_height;
  if (pixels > maxPixels || cinfo->image_width > 32767 || cinfo->image_height > 32767)
    ERREXIT1(cinfo, JERR_IMAGE_TOO_BIG, 32767);
  const bool cmyk = isCmyk(cinfo->jpeg_color_space);
  if (cmyk) {
    cinfo->out_color_space = JCS_CMYK;
  } else {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    cinfo->out_color_space = JCS_EXT_BGRX;
#else
    cinfo->out_color_space = JCS_EXT_XRGB;
#endif
  }
  jpeg_start_decompress(cinfo);
  image = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height),
                 QImage::Format_RGB32);
  if (image.isNull()) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  JSAMPARRAY cmykRow = cmyk ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                          JPOOL_IMAGE, cinfo->output_width * 4, 1)
                            : nullptr;
  const bool inverted = cinfo->saw_Adobe_marker;
  while (cinfo->output_scanline < cinfo->output_height) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(cinfo->output_scanline)));
    if (cmyk) {
      jpeg_read_scanlines(cinfo, cmykRow, 1);
      cmykRowToRgb32(cmykRow[0], line, cinfo->output_width, inverted);
    } else {
      JSAMPROW row = reinterpret_cast<JSAMPROW>(line);
      jpeg_read_scanlines(cinfo, &row, 1);
    }
  }
  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
  return 0;
}

// A destination that grows a malloc'd buffer, so the buffer can be freed on every path.
struct GrowingDestination {
  jpeg_destination_mgr pub;
  unsigned char* buffer;
  std::size_t capacity;
};

constexpr std::size_t kInitialCapacity = 64 * 1024;

extern "C" void initDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<GrowingDestination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = dest->capacity;
}

extern "C" boolean growDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<GrowingDestination*>(cinfo->dest);
  const std::size_t used = dest->capacity;
  auto* larger = static_cast<unsigned char*>(std::realloc(dest->buffer, dest->capacity * 2));
  if (larger == nullptr) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
  dest->buffer = larger;
  dest->capacity *= 2;
  dest->pub.next_output_byte = dest->buffer + used;
  dest->pub.free_in_buffer = dest->capacity - used;
  return TRUE;
}

extern "C" void termDestination(j_compress_ptr) {}

struct EncodeState {
  jpeg_compress_struct cinfo;
  ErrorManager errors;
  GrowingDestination dest;
};

int runEncode(EncodeState& s, const QImage& rgb, int quality) {
  j_compress_ptr cinfo = &s.cinfo;
  cinfo->err = &s.errors.pub;
  setUpErrors(s.errors);
  if (setjmp(s.errors.jump)) {
    const int code = s.errors.pub.msg_code;
    jpeg_destroy_compress(cinfo);
    return code != 0 ? code : -1;
  }
  jpeg_create_compress(cinfo);
  s.dest.pub.init_destination = initDestination;
  s.dest.pub.empty_output_buffer = growDestination;
  s.dest.pub.term_destination = termDestination;
  cinfo->dest = &s.dest.pub;
  cinfo->image_width = static_cast<JDIMENSION>(rgb.width());
  cinfo->image_height = static_cast<JDIMENSION>(rgb.height());
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_RGB;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  while (cinfo->next_scanline < cinfo->image_height) {
    // libjpeg takes non-const rows but only reads them.
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo->next_scanline)));
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  jpeg_destroy_compress(cinfo);
  return 0;
}

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

}  // namespace

JpegError::JpegError(int code)
    : std::runtime_error("JPEG error #" + std::to_string(code)), code_(code) {}

QImage decodeJpeg(const std::uint8_t* data, std::size_t size, std::uint64_t maxPixels) {
  // An empty buffer makes jpeg_mem_src itself fail with "empty input"; give it a valid pointer.
  static const std::uint8_t kNothing = 0;
  if (data == nullptr) data = &kNothing, size = 0;
  auto state = std::make_unique<DecodeState>();
  std::memset(state.get(), 0, sizeof(DecodeState));
  QImage image;
  const int code = runDecode(*state, data, size, maxPixels, image);
  if (code != 0) throw JpegError(code);
  return image;
}

QImage decodeJpeg(const QByteArray& bytes) {
  return decodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                    static_cast<std::size_t>(bytes.size()));
}

QByteArray encodeJpeg(const QImage& image, int quality) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  auto state = std::make_unique<EncodeState>();
  std::memset(state.get(), 0, sizeof(EncodeState));
  state->dest.buffer = static_cast<unsigned char*>(std::malloc(kInitialCapacity));
  if (state->dest.buffer == nullptr) throw std::bad_alloc();
  state->dest.capacity = kInitialCapacity;
  const int code = runEncode(*state, rgb, quality);
  std::unique_ptr<unsigned char, FreeDeleter> owned(state->dest.buffer);
  if (code != 0) throw JpegError(code);
  const std::size_t written = state->dest.capacity - state->dest.pub.free_in_buffer;
  return QByteArray(reinterpret_cast<const char*>(owned.get()), static_cast<qsizetype>(written));
}

}  // namespace wf
