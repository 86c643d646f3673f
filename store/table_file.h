// Reading and writing a table file as a whole. Reading holds a shared lock (no writer while it
// reads); writing goes to a temporary file in the same folder that is flushed to disk and then
// renamed over the old file, so the old file stays intact until the new one is complete.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wf {

// The whole content of the file, or nothing when no file exists at path. A file that exists
// but cannot be read fails with "Cannot open file <path>".
std::optional<std::vector<unsigned char>> readTableFile(const std::string& path);

// Replaces the file at path with bytes. Fails with "Cannot create file <path>" when the new
// file cannot be created or put in place (missing folder, a read-only file, a folder at that
// name), or with the platform's error text when writing fails; the old file is unchanged then.
void writeTableFile(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace wf
