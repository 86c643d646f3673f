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
  if (beepFunction())
    beepFunction()();
  else
    QApplication::beep();
  return false;
}

bool acceptPastedText(const QString& text) {
  const QString missing = charactersOutsideCodePage(text);
  if (missing.isEmpty()) return true;
  showInformation(notPastedText(missing));
  return false;
}

QString notPastedText(const QString& characters) {
  QStringList quoted;
  for (uint c : characters.toUcs4())
    quoted << QStringLiteral("\"%1\"").arg(
        QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1));
  return QStringLiteral(
             "The text was not pasted: this system's code page (Windows-%1) cannot hold %2 %3.")
      .arg(activeCodePageNumber())
      .arg(quoted.size() == 1 ? QStringLiteral("the character") : QStringLiteral("the characters"))
      .arg(quoted.join(QStringLiteral(", ")));
}

}  // namespace wf
