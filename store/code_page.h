// The single-byte Windows code page that text in the tables is held in, and the one place that
// turns those bytes into Unicode and back. The code page is the system's: it follows the
// language of the user's locale, as the system that wrote the files chose it.
#pragma once

#include <string>
#include <string_view>

namespace wf {

class CodePage {
 public:
  // The code pages a locale can select: 874 and 1250..1258. Others throw std::invalid_argument.
  static const CodePage& get(int number);
  static bool supported(int number);

  // The process-wide code page: the one the environment's locale selects until setActive is
  // called. A table's text is read and written in it, so it is set once, before any table opens.
  static const CodePage& active();
  static void setActive(int number);

  int number() const { return number_; }

  // Every byte has one character. Bytes the code page leaves undefined become the C1 control
  // character of the same number (0x80..0x9F) or a private-use character (U+F700 + byte), so any
  // byte string survives a round trip.
  char16_t toUnicode(unsigned char byte) const { return toUnicode_[byte]; }
  std::u16string decode(std::string_view bytes) const;

  // The byte that holds a character; -1 when the code page has none.
  int byteFor(char32_t c) const;

  // Encodes UTF-16 text. A character without a byte of its own is written as its canonical
  // decomposition when the code page holds every part of it (Vietnamese letters with tone marks
  // in 1258). Returns false when some character cannot be written; `out` is then unspecified.
  bool encode(std::u16string_view text, std::string& out) const;

  // The distinct characters of the text that cannot be written, in order of first appearance.
  std::u32string missing(std::u16string_view text) const;

 private:
  explicit CodePage(int number);
  bool encodeCodePoint(char32_t c, std::string& out) const;

  int number_;
  char16_t toUnicode_[256];
  // Characters from 0x80 up with their byte, sorted by character.
  std::basic_string<char32_t> upperChars_;
  std::string upperBytes_;
};

// The code page of a POSIX locale name ("pl_PL.UTF-8", "sr_RS@latin", "el_GR", "C"), chosen
// from its language: 1250 Central European, 1251 Cyrillic, 1253 Greek, 1254 Turkish and
// Azerbaijani, 1255 Hebrew, 1256 Arabic, Persian and Urdu, 1257 Baltic, 1258 Vietnamese,
// 874 Thai, 1252 for every other language and for names without one.
int codePageForLocale(std::string_view locale);

// The code page of the locale that governs characters: LC_ALL, else LC_CTYPE, else LANG (the
// first one set and not empty).
int codePageFromEnvironment();

}  // namespace wf
