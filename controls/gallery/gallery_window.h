// The gallery window: the five panel presets, the caption positions, and gradient buttons in
// each of their looks.
#pragma once

#include <QWidget>

namespace wf {

class GalleryWindow : public QWidget {
  Q_OBJECT
 public:
  explicit GalleryWindow(QWidget* parent = nullptr);
};

}  // namespace wf
