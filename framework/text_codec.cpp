#include "framework/text_codec.h"

#include <unicode/ucnv.h>
#include <unicode/utf8.h>

#include <memory>
#include <stdexcept>

namespace wf {
namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// One converter per thread, opened on first use; ucnv_toUChars and ucnv_fromUChars reset it
// before each conversion.
UConverter* windows1252() {
  thread_local Converter converter = [] {
    UErrorCode status = U_ZERO_ERROR;
    Converter opened(ucnv_open("windows-1252", &status));
    if (U_FAILURE(status)) throw std::runtime_error("Windows-1252 converter unavailable");
    ucnv_setSubstChars(opened.get(), "?", 1, &status);
    if (U_FAILURE(status)) throw std::runtime_error("Windows-1252 converter unavailable");
    return opened;
  }();
  return converter.get();
}

bool isAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool undefinedIn1252(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

bool isValidUtf8(std::string_view bytes) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const int32_t length = static_cast<int32_t>(bytes.size());
  int32_t i = 0;
  while (i < length) {
    UChar32 c;
    U8_NEXT(data, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

}  // namespace

QString fromWindows1252(std::string_view bytes) {
  QString result;
  if (bytes.empty()) return result;
  if (isAscii(bytes))
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  UConverter* converter = windows1252();
  // Windows-1252 never needs more than one UTF-16 unit per byte.
  result.resize(static_cast<qsizetype>(bytes.size()));
  UErrorCode status = U_ZERO_ERROR;
  const int32_t written = ucnv_toUChars(converter, reinterpret_cast<UChar*>(result.data()),
                                        static_cast<int32_t>(result.size()), bytes.data(),
                                        static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status) || written != static_cast<int32_t>(bytes.size()))
    throw std::runtime_error("Windows-1252 text could not be decoded");
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (undefinedIn1252(byte)) result[static_cast<qsizetype>(i)] = QChar(byte);
  }
  return result;
}

std::string toWindows1252(const QString& text) {
  std::string result;
  if (text.isEmpty()) return result;
  UConverter* converter = windows1252();
  // One byte per code point at most, so one per UTF-16 unit is enough (plus the terminator).
  result.resize(static_cast<size_t>(text.size()) + 1);
  std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                            static_cast<size_t>(text.size()));
  // The control characters that stand for the undefined bytes go back to those bytes; ICU would
  // otherwise substitute them.
  size_t out = 0;
  size_t runStart = 0;
  auto flushRun = [&](size_t end) {
    if (end == runStart) return;
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written =
        ucnv_fromUChars(converter, result.data() + out, static_cast<int32_t>(result.size() - out),
                        reinterpret_cast<const UChar*>(units.data() + runStart),
                        static_cast<int32_t>(end - runStart), &status);
    if (U_FAILURE(status)) throw std::runtime_error("text could not be encoded as Windows-1252");
    out += static_cast<size_t>(written);
  };
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (unit < 0x100 && undefinedIn1252(static_cast<unsigned char>(unit))) {
      flushRun(i);
      result[out++] = static_cast<char>(unit);
      runStart = i + 1;
    }
  }
  flushRun(units.size());
  result.resize(out);
  return result;
}

QString messageText(std::string_view bytes) {
  if (isValidUtf8(bytes))
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return fromWindows1252(bytes);
}

QString exceptionText(const std::exception& failure) { return messageText(failure.what()); }

}  // namespace wf
