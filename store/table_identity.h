// Identifies a table file as it was opened (size, modification time, a checksum of its first
// and last bytes), so that a change journal written against it is never applied to another file.
#pragma once

#include <span>
#include <string>

#include "store/journal_format.h"

namespace wf {

// The identity of the file at path whose content was just read; `exists` false when there is
// no file.
TableFileIdentity identifyTableFile(const std::string& path, std::span<const std::uint8_t> content);
// The same, reading the sampled bytes from the file itself.
TableFileIdentity identifyTableFile(const std::string& path);

}  // namespace wf
