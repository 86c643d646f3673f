// The program's instances: the data module first, then every window once, in the fixed creation
// order; destroyed in reverse order, the data module last.
#pragma once

#include <memory>
#include <string>

namespace wf {

class AppInstances {
 public:
  // Creates everything for a program living in appFolder (with a trailing separator) and
  // installs the hooks between the data module and the main window. The main window is not
  // shown.
  explicit AppInstances(const std::string& appFolder);
  ~AppInstances();
  AppInstances(const AppInstances&) = delete;
  AppInstances& operator=(const AppInstances&) = delete;

 private:
  struct Owned;
  std::unique_ptr<Owned> owned_;
};

// The folder of the running program with a trailing separator.
std::string programFolder();

}  // namespace wf
