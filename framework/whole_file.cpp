#include "framework/whole_file.h"

#include <QFile>

#include <stdexcept>

namespace wf {

QByteArray readWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Cannot open file " + path.toStdString());
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw std::runtime_error("Cannot open file " + path.toStdString());
  return bytes;
}

}  // namespace wf
