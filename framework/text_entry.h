// What an edit bound to a field lets in: only characters the tables' code page can hold, so
// nothing typed or pasted is stored other than as it was entered.
#pragma once

#include <QString>

#include <functional>

namespace wf {

// Typed (or composed) text: true when every character fits; otherwise the system beep sounds
// and the caller drops the text.
bool acceptTypedText(const QString& text);

// Pasted or dropped text: true when every character fits; otherwise an information box names
// the characters that do not and the caller drops the whole text.
bool acceptPastedText(const QString& text);

// Text that fits as the code page stores it: the same text, except for letters the code page
// holds as a letter and separate marks (Vietnamese in 1258), which come back in that form. An
// edit shows and counts what will be stored this way.
QString storedForm(const QString& text);

// Refused typing sounds the system beep (QApplication::beep). Tests may listen instead; nullptr
// restores the system beep.
void setTextEntryBeep(std::function<void()> beep);
void refusedTextBeep();

// The information box's text for characters that cannot be pasted.
QString notPastedText(const QString& characters);

}  // namespace wf
