// A picture box: shows one picture centred; a picture larger than the box in either direction is
// scaled down to fit with its aspect ratio kept, a smaller one is shown at its own size.
#pragma once

#include <QImage>
#include <QWidget>

namespace wf {

class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent = nullptr);

  const QImage& picture() const { return picture_; }
  void setPicture(const QImage& picture);
  void clear() { setPicture(QImage()); }
  bool isEmpty() const { return picture_.isNull(); }

  // Where the picture is drawn inside the box (empty when there is none).
  QRect pictureRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace wf
