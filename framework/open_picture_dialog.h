// The open-picture dialog: a file dialog with a preview of the picture under the cursor, filters
// given by the caller. Tests can answer it through a hook instead of showing it.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace wf {

class OpenPictureDialog {
 public:
  // filter: pairs "description|patterns" joined by "|", patterns separated by ";", for example
  // "All Image Files|*.bmp;*.jpg|Bitmap Images (*.bmp)|*.bmp".
  void setFilter(const QString& filter) { filter_ = filter; }
  const QString& filter() const { return filter_; }
  // Extension added to a typed name that has none, with or without its dot ("" for none).
  void setDefaultExtension(const QString& extension) { defaultExtension_ = extension; }
  const QString& defaultExtension() const { return defaultExtension_; }
  // Index of the filter selected when the dialog opens, counting from 1 for the first filter;
  // an index outside the list selects the first.
  void setFilterIndex(int index) { filterIndex_ = index; }
  int filterIndex() const { return filterIndex_; }

  // Runs the dialog modally over the parent. Returns false when the user cancels.
  bool execute(QWidget* parent = nullptr);
  // The full path of the chosen file after execute() returned true.
  const QString& fileName() const { return fileName_; }

  // The filter in the file dialog's notation: "All Image Files (*.bmp *.jpg)" and so on. A
  // description that already ends in its patterns in parentheses shows them once.
  QStringList nameFilters() const;

  // A test hook answers instead of the dialog: the path chosen, or nothing for Cancel.
  using Hook = std::function<std::optional<QString>(const OpenPictureDialog&)>;
  static void setHook(Hook hook);

 private:
  QString filter_;
  QString defaultExtension_;
  int filterIndex_ = 1;
  QString fileName_;
};

// Makes the preview pixmap of a picture file for the dialog, or a null image when the file is
// not a picture the program can read. JPEG and bitmap files go through the program's own
// decoders, so the preview shows what the program will load.
QImage previewImage(const QString& path);

}  // namespace wf
