// The one habit of the windows' handlers: the part of a handler that may fail runs through
// runShowingErrors, so the handler's body is its work and a failure ends in the error box
// ("Error", the failure's own text) instead of unwinding through Qt.
#pragma once

#include <functional>

namespace wf {

// Runs the work; a failure it throws skips the rest of the work and is shown in the error box.
// Returns true when the work ran to its end, so a caller can undo what the failure left behind.
// Only std::exception is caught: anything else goes on to the framework's default error box.
bool runShowingErrors(const std::function<void()>& work);

// The same, with `beforeBox` run after a failure and before its box is shown (cancelling the
// edit the work started, marking the window as failed). A failure of `beforeBox` itself is not
// caught.
bool runShowingErrors(const std::function<void()>& work, const std::function<void()>& beforeBox);

}  // namespace wf
