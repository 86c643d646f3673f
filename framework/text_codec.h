// The bridge between the store's text (bytes in the system's single-byte code page, the table
// files' own encoding; see store/code_page.h) and Qt's Unicode strings.
#pragma once

#include <QString>

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace wf {

// Raised when text holds characters the code page cannot hold; what() names them (UTF-8).
class TextOutsideCodePage : public std::runtime_error {
 public:
  explicit TextOutsideCodePage(const QString& characters);
  const QString& characters() const { return characters_; }

 private:
  QString characters_;
};

// Decodes bytes of the active code page. Every byte decodes, so every byte string survives a
// round trip.
QString fromCodePage(std::string_view bytes);

// Encodes into the active code page. Text holding a character the code page lacks is never
// written with a stand-in: it throws TextOutsideCodePage.
std::string toCodePage(const QString& text);

// Encodes when every character fits; false otherwise.
bool tryToCodePage(const QString& text, std::string& bytes);

// The distinct characters of the text the active code page lacks, in order; empty when it fits.
QString charactersOutsideCodePage(const QString& text);

// The number of the active code page ("1252").
int activeCodePageNumber();

// Older names of fromCodePage and toCodePage, from when the tables' text was always
// Windows-1252.
inline QString fromWindows1252(std::string_view bytes) { return fromCodePage(bytes); }
inline std::string toWindows1252(const QString& text) { return toCodePage(text); }

// The message of a failure for display: UTF-8 when the bytes are valid UTF-8, otherwise read in
// the code page (messages that quote table text carry the store's bytes).
QString exceptionText(const std::exception& failure);
QString messageText(std::string_view bytes);

}  // namespace wf
