// The eleven 16 by 16 tool bar pictures of the preview window, drawn in code: zoom to fit,
// 100 %, zoom to width, first, previous, next, last, printer setup, print, load, save.
#pragma once

#include <QPixmap>

namespace wf {

enum class PreviewImage {
  ZoomToFit = 0,
  Zoom100 = 1,
  ZoomToWidth = 2,
  First = 3,
  Previous = 4,
  Next = 5,
  Last = 6,
  PrinterSetup = 7,
  Print = 8,
  Load = 9,
  Save = 10,
};
inline constexpr int kPreviewImageCount = 11;

// Picture index (0..10) as a 16 by 16 pixmap; a null pixmap for any other index.
QPixmap previewImage(int index);

}  // namespace wf
