#include "framework/showing_errors.h"

#include "framework/message_box.h"

#include <exception>

namespace wf {

bool runShowingErrors(const std::function<void()>& work) { return runShowingErrors(work, {}); }

bool runShowingErrors(const std::function<void()>& work, const std::function<void()>& beforeBox) {
  try {
    work();
    return true;
  } catch (const std::exception& failure) {
    if (beforeBox) beforeBox();
    showError(failure);
    return false;
  }
}

}  // namespace wf
