#include "store/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace wf {
namespace {

constexpr std::array<int, 10> kSupported = {874,  1250, 1251, 1252, 1253,
                                            1254, 1255, 1256, 1257, 1258};

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};

std::mutex& pagesMutex() {
  static std::mutex mutex;
  return mutex;
}

std::atomic<const CodePage*>& activePage() {
  static std::atomic<const CodePage*> page{nullptr};
  return page;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), lower);
  return out;
}

}  // namespace

bool CodePage::supported(int number) {
  return std::find(kSupported.begin(), kSupported.end(), number) != kSupported.end();
}

const CodePage& CodePage::get(int number) {
  if (!supported(number))
    throw std::invalid_argument("code page " + std::to_string(number) + " is not supported");
  // Built once each and never freed: the active page is handed out by plain pointer.
  static std::array<std::unique_ptr<const CodePage>, kSupported.size()> pages;
  const auto slot = static_cast<std::size_t>(
      std::find(kSupported.begin(), kSupported.end(), number) - kSupported.begin());
  std::lock_guard<std::mutex> lock(pagesMutex());
  if (!pages[slot]) pages[slot].reset(new CodePage(number));
  return *pages[slot];
}

const CodePage& CodePage::active() {
  const CodePage* page = activePage().load(std::memory_order_acquire);
  if (page != nullptr) return *page;
  const CodePage& fromEnvironment = get(codePageFromEnvironment());
  const CodePage* expected = nullptr;
  activePage().compare_exchange_strong(expected, &fromEnvironment, std::memory_order_acq_rel);
  return *activePage().load(std::memory_order_acquire);
}

void CodePage::setActive(int number) {
  activePage().store(&get(number), std::memory_order_release);
}

CodePage::CodePage(int number) : number_(number) {
  UErrorCode status = U_ZERO_ERROR;
  const std::string name = "windows-" + std::to_string(number);
  std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(name.c_str(), &status));
  if (U_FAILURE(status)) throw std::runtime_error("the " + name + " converter is unavailable");
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    UChar out[4];
    status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter.get(), out, 4, &in, 1, &status);
    if (U_SUCCESS(status) && length == 1 && !U16_IS_SURROGATE(out[0]) && out[0] != 0xFFFD &&
        (out[0] != 0x1A || byte == 0x1A))
      toUnicode_[byte] = out[0];
    else
      toUnicode_[byte] =
          byte < 0xA0 ? static_cast<char16_t>(byte) : static_cast<char16_t>(0xF700 + byte);
  }

  std::vector<int> order;
  for (int byte = 0x80; byte < 256; ++byte) order.push_back(byte);
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return toUnicode_[a] < toUnicode_[b]; });
  for (int byte : order) {
    if (!upperChars_.empty() && upperChars_.back() == toUnicode_[byte])
      throw std::runtime_error(name + " maps two bytes to one character");
    upperChars_.push_back(toUnicode_[byte]);
    upperBytes_.push_back(static_cast<char>(byte));
  }
  for (int byte = 0; byte < 0x80; ++byte)
    if (toUnicode_[byte] != byte) throw std::runtime_error(name + " is not ASCII below 0x80");
}

std::u16string CodePage::decode(std::string_view bytes) const {
  std::u16string out(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    out[i] = toUnicode_[static_cast<unsigned char>(bytes[i])];
  return out;
}

int CodePage::byteFor(char32_t c) const {
  if (c < 0x80) return static_cast<int>(c);
  const auto it = std::lower_bound(upperChars_.begin(), upperChars_.end(), c);
  if (it == upperChars_.end() || *it != c) return -1;
  return static_cast<unsigned char>(
      upperBytes_[static_cast<std::size_t>(it - upperChars_.begin())]);
}

bool CodePage::encodeCodePoint(char32_t c, std::string& out) const {
  const int byte = byteFor(c);
  if (byte >= 0) {
    out.push_back(static_cast<char>(byte));
    return true;
  }
  if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return false;
  // A letter with marks: the page may hold the letter with some of its marks as one character
  // and the other marks on their own (1258 writes "ệ" as "ê" and a combining dot below).
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  if (U_FAILURE(status)) return false;
  UChar units[16];
  const int32_t length = unorm2_getDecomposition(nfd, static_cast<UChar32>(c), units, 16, &status);
  if (U_FAILURE(status) || length <= 0) return false;
  std::u32string parts;
  for (int32_t i = 0; i < length;) {
    UChar32 part;
    U16_NEXT(units, i, length, part);
    parts.push_back(static_cast<char32_t>(part));
  }
  const std::size_t marks = parts.size() - 1;
  if (marks > 4) return false;
  // Most marks composed first; the empty set writes every part on its own.
  for (int set = (1 << marks) - 1; set >= 0; --set) {
    UChar composed[16];
    int32_t composedLength = 0;
    U16_APPEND_UNSAFE(composed, composedLength, static_cast<UChar32>(parts[0]));
    std::string rest;
    bool restFits = true;
    for (std::size_t m = 0; m < marks; ++m) {
      if (set & (1 << m)) {
        U16_APPEND_UNSAFE(composed, composedLength, static_cast<UChar32>(parts[m + 1]));
      } else {
        const int markByte = byteFor(parts[m + 1]);
        restFits = restFits && markByte >= 0;
        rest.push_back(static_cast<char>(markByte));
      }
    }
    if (!restFits) continue;
    UChar normal[16];
    status = U_ZERO_ERROR;
    const int32_t normalLength =
        unorm2_normalize(nfc, composed, composedLength, normal, 16, &status);
    if (U_FAILURE(status) || normalLength != 1 || U16_IS_SURROGATE(normal[0])) continue;
    const int baseByte = byteFor(normal[0]);
    if (baseByte < 0) continue;
    out.push_back(static_cast<char>(baseByte));
    out += rest;
    return true;
  }
  return false;
}

bool CodePage::encode(std::u16string_view text, std::string& out) const {
  out.clear();
  out.reserve(text.size());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(text.data(), i, length, c);
    if (!encodeCodePoint(static_cast<char32_t>(c), out)) return false;
  }
  return true;
}

std::u32string CodePage::missing(std::u16string_view text) const {
  std::u32string found;
  std::string scratch;
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U16_NEXT(text.data(), i, length, c);
    const auto code = static_cast<char32_t>(c);
    scratch.clear();
    if (!encodeCodePoint(code, scratch) && found.find(code) == std::u32string::npos)
      found.push_back(code);
  }
  return found;
}

int codePageForLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier], or with a script as in "sr_Latn_RS".
  const std::size_t at = locale.find('@');
  const std::string modifier = at == std::string_view::npos ? "" : lowered(locale.substr(at + 1));
  std::string_view name = locale.substr(0, std::min(at, locale.find('.')));
  const std::size_t cut = name.find_first_of("_-");
  const std::string language = lowered(name.substr(0, cut));
  const bool latinScript =
      modifier == "latin" ||
      (cut != std::string_view::npos && lowered(name.substr(cut + 1)).rfind("latn", 0) == 0);

  struct Group {
    int codePage;
    std::array<const char*, 10> languages;
  };
  static constexpr std::array<Group, 9> kGroups = {{
      {1250, {"cs", "hu", "pl", "ro", "sk", "sl", "hr", "bs", "sq"}},
      {1251, {"ru", "uk", "be", "bg", "mk", "kk", "ky", "tt", "mn"}},
      {1253, {"el"}},
      {1254, {"tr", "az"}},
      {1255, {"he"}},
      {1256, {"ar", "fa", "ur"}},
      {1257, {"et", "lv", "lt"}},
      {1258, {"vi"}},
      {874, {"th"}},
  }};
  if (language == "sr") return latinScript ? 1250 : 1251;
  for (const Group& group : kGroups)
    for (const char* candidate : group.languages)
      if (candidate != nullptr && language == candidate) return group.codePage;
  return 1252;
}

int codePageFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return codePageForLocale(value);
  }
  return 1252;
}

}  // namespace wf
