// The message boxes of the preview window. Errors go through the framework's error box; the
// plain box (caption = application title, no icon, "OK") is shown here, with a hook so tests
// can take its text instead of a modal window.
#pragma once

#include <QString>

#include <functional>

namespace wf {

void showPreviewError(const QString& text);
void showPlainMessage(const QString& text);

// While set, plain messages go to the hook instead of a box. nullptr restores the box.
void setPlainMessageHook(std::function<void(const QString&)> hook);

}  // namespace wf
