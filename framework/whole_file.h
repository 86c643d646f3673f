// Reading a picture file whole, as the picture readers do before decoding it.
#pragma once

#include <QByteArray>
#include <QString>

namespace wf {

// The file's bytes; fails with "Cannot open file <path>" when it cannot be opened or read.
QByteArray readWholeFile(const QString& path);

}  // namespace wf
