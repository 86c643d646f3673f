#include "store/format_settings.h"

namespace wf {

FormatSettings& formatSettings() {
  static FormatSettings settings;
  return settings;
}

}  // namespace wf
