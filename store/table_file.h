// Reading and writing a table file as a whole. Reading holds a shared lock (no writer while it
// reads); writing goes to a temporary file in the same folder that is flushed to disk and then
// renamed over the old file, so the old file stays intact until the new one is complete.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/byte_sink.h"

namespace wf {

// The whole content of the file, or nothing when no file exists at path. A file that exists
// but cannot be read fails with "Cannot open file <path>".
std::optional<std::vector<unsigned char>> readTableFile(const std::string& path);

// Replaces the file at path with bytes. Fails with "Cannot create file <path>" when the new
// file cannot be created or put in place (missing folder, a read-only file, a folder at that
// name), or with the platform's error text when writing fails; the old file is unchanged then.
void writeTableFile(const std::string& path, const std::vector<unsigned char>& bytes);

// The same, with the new content written as `produce` hands it to the sink it is given, so it
// never has to be in memory as a whole. When produce throws, or the sink fails to write (with the
// platform's error text), the temporary file is removed, the old file is unchanged and the
// exception passes on.
void streamTableFile(const std::string& path, const std::function<void(ByteSink&)>& produce);

}  // namespace wf
