#include "framework/text_entry.h"

#include "framework/message_box.h"
#include "framework/text_codec.h"

#include <QApplication>
#include <QStringList>

#include <utility>

namespace wf {
namespace {

std::function<void()>& beepFunction() {
  static std::function<void()> beep;
  return beep;
}

}  // namespace

void setTextEntryBeep(std::function<void()> beep) { beepFunction() = std::move(beep); }

bool acceptTypedText(const QString& text) {
  if (text.isEmpty() || charactersOutsideCodePage(text).isEmpty()) return true;
  refusedTextBeep();
  return false;
}

void refusedTextBeep() {
  if (beepFunction())
    beepFunction()();
  else
    QApplication::beep();
}

bool acceptPastedText(const QString& text) {
  const QString missing = charactersOutsideCodePage(text);
  if (missing.isEmpty()) return true;
  showInformation(notPastedText(missing));
  return false;
}

QString storedForm(const QString& text) {
  std::string bytes;
  if (!tryToCodePage(text, bytes)) return text;
  return fromCodePage(bytes);
}

QString notPastedText(const QString& characters) {
  // The code beside each character names it where the font has no glyph for it.
  QStringList named;
  for (char32_t c : characters.toUcs4())
    named << QStringLiteral("\"%1\" (U+%2)")
                 .arg(QString::fromUcs4(&c, 1),
                      QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, u'0'));
  return QStringLiteral(
             "The text was not pasted: this system's code page (Windows-%1) cannot hold %2 %3.")
      .arg(activeCodePageNumber())
      .arg(named.size() == 1 ? QStringLiteral("the character") : QStringLiteral("the characters"))
      .arg(named.join(QStringLiteral(", ")));
}

}  // namespace wf
