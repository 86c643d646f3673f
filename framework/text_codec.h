// The bridge between the store's text (bytes in the Windows-1252 code page, the table files' own
// encoding) and Qt's Unicode strings.
#pragma once

#include <QString>

#include <exception>
#include <string>
#include <string_view>

namespace wf {

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same number, so every byte string survives a
// round trip.
QString fromWindows1252(std::string_view bytes);

// Encodes into Windows-1252. Every character the code page lacks becomes one "?".
std::string toWindows1252(const QString& text);

// The message of a failure for display: UTF-8 when the bytes are valid UTF-8, otherwise read as
// Windows-1252 (messages that quote table text carry the store's bytes).
QString exceptionText(const std::exception& failure);
QString messageText(std::string_view bytes);

}  // namespace wf
