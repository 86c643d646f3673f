// Identifies a table file by its content (size and a CRC-32C of all of it), so that a change
// journal written against it is never applied to another file, and still applies to a copy.
#pragma once

#include <span>
#include <string>

#include "store/journal_format.h"

namespace wf {

// The identity of a file whose whole content is `content`.
TableFileIdentity identifyContent(std::span<const std::uint8_t> content);
// The identity of the file at path, read from the file; `exists` false when there is no
// regular file there.
TableFileIdentity identifyTableFile(const std::string& path);

// The first journal version's stamp of the file at path whose content was just read.
LegacyFileStamp legacyStampOf(const std::string& path, std::span<const std::uint8_t> content);

}  // namespace wf
