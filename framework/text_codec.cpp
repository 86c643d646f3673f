#include "framework/text_codec.h"

#include "store/code_page.h"

#include <unicode/utf8.h>

namespace wf {
namespace {

bool isAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
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

std::u16string_view unitsOf(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

}  // namespace

TextOutsideCodePage::TextOutsideCodePage(const QString& characters)
    : std::runtime_error(QStringLiteral("The characters %1 cannot be stored in code page %2")
                             .arg(characters)
                             .arg(activeCodePageNumber())
                             .toStdString()),
      characters_(characters) {}

QString fromCodePage(std::string_view bytes) {
  if (bytes.empty()) return QString();
  if (isAscii(bytes))
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  const CodePage& page = CodePage::active();
  QString result(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  for (size_t i = 0; i < bytes.size(); ++i)
    result[static_cast<qsizetype>(i)] = QChar(page.toUnicode(static_cast<unsigned char>(bytes[i])));
  return result;
}

bool tryToCodePage(const QString& text, std::string& bytes) {
  return CodePage::active().encode(unitsOf(text), bytes);
}

std::string toCodePage(const QString& text) {
  std::string bytes;
  if (!tryToCodePage(text, bytes)) throw TextOutsideCodePage(charactersOutsideCodePage(text));
  return bytes;
}

QString charactersOutsideCodePage(const QString& text) {
  const std::u32string missing = CodePage::active().missing(unitsOf(text));
  return QString::fromUcs4(missing.data(), static_cast<qsizetype>(missing.size()));
}

int activeCodePageNumber() { return CodePage::active().number(); }

QString messageText(std::string_view bytes) {
  if (isValidUtf8(bytes))
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return fromCodePage(bytes);
}

QString exceptionText(const std::exception& failure) { return messageText(failure.what()); }

}  // namespace wf
