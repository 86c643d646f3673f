// Reading a picture file whole, as the picture readers do before decoding it.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace wf {

// Picture files larger than this are refused before any of their bytes are read.
inline constexpr std::int64_t kMaxPictureFileBytes = 256LL * 1024 * 1024;

// The file's bytes. Fails with "Cannot open file <path>" when it cannot be opened or read, and
// refuses at once what is not a regular file (a folder, a named pipe, a device, also through a
// symbolic link) and a file over maxBytes, so that neither a pipe nor /dev/zero can stall the
// program or fill its memory.
QByteArray readWholeFile(const QString& path, std::int64_t maxBytes = kMaxPictureFileBytes);

}  // namespace wf
