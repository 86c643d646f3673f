// The page view of the preview window (TRepPreview): one page image, sized by the zoom, centred
// in a scrolling area while it is smaller than the area. The image is a white page with a black
// border and a 2-pixel shadow over which the page's recording is stretched; it is kept as a
// cached pixmap, so repainting does not replay the recording.
#pragma once

#include <QAbstractScrollArea>
#include <QByteArray>
#include <QPixmap>
#include <QSizeF>

class QPainter;

namespace wf {

class TRepPreview : public QAbstractScrollArea {
  Q_OBJECT

 public:
  enum class ZoomMode { Fit, Width, Other };
  static constexpr int kMinZoom = 2;
  static constexpr int kMaxZoom = 2000;

  explicit TRepPreview(QWidget* parent = nullptr);

  // Paper in tenths of a millimetre (A4 portrait: 2100 by 2970).
  void setPaperSize(const QSizeF& native);
  QSizeF paperSize() const { return paper_; }
  // The paper at the screen factor (96 / 254 pixels per native unit): 794 by 1123 for A4.
  QSize pagePixels() const;

  int zoom() const { return zoom_; }
  ZoomMode zoomMode() const { return mode_; }
  // Sets the zoom in percent and the mode; values outside 2..2000 are ignored.
  void setZoom(int percent, ZoomMode mode = ZoomMode::Other);
  void zoomToFit();
  void zoomTo100();
  void zoomToWidth();

  // Size of the page image at the current zoom, border and shadow included.
  QSize imageSize() const;
  // Top-left corner of the image in the viewport.
  QPoint imageOffset() const;

  // The page the user asked for (from 1) and the page whose recording is on screen (0: none).
  int selectedPage() const { return selected_; }
  void setSelectedPage(int page) { selected_ = page; }
  int shownPage() const { return shown_; }
  // Puts a page's recording on screen (recording already checked) and scrolls to the top-left.
  void showRecording(int page, const QByteArray& recording);
  // Takes the page off the screen: only the background shows.
  void clearPage();

  // Paints the page image of the given size with the recording stretched over it.
  static void paintPageImage(QPainter& painter, const QSize& image, const QByteArray& recording);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void layoutImage();
  const QPixmap& pageImage();

  QSizeF paper_{2100, 2970};
  int zoom_ = 100;
  ZoomMode mode_ = ZoomMode::Width;
  int selected_ = 1;
  int shown_ = 0;
  QByteArray recording_;
  QPixmap cache_;
};

}  // namespace wf
