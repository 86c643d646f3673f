// One column of a data grid: the field it shows, its title, width, alignments and colour.
#pragma once

#include <QColor>
#include <QString>

#include <optional>
#include <string>

namespace wf {

struct GridColumn {
  std::string fieldName;
  QString title;
  // Pixels; nullopt takes the grid's default for the field (its size in characters, or the
  // title, whichever is wider).
  std::optional<int> width;
  // nullopt takes the field's own alignment: right for numbers and money, left otherwise.
  std::optional<Qt::Alignment> cellAlignment;
  Qt::Alignment titleAlignment = Qt::AlignLeft;
  // Invalid: the grid's background.
  QColor colour;
};

}  // namespace wf
