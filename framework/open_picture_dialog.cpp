#include "framework/open_picture_dialog.h"

#include "framework/bitmap_reader.h"
#include "framework/jpeg_picture.h"
#include "framework/whole_file.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace wf {
namespace {

OpenPictureDialog::Hook& hook() {
  static OpenPictureDialog::Hook instance;
  return instance;
}

constexpr int kPreviewSize = 160;

// The pane beside the file list: the picture scaled to fit, and its size in pixels.
class PicturePreview : public QWidget {
 public:
  explicit PicturePreview(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    picture_ = new QLabel(this);
    picture_->setFixedSize(kPreviewSize, kPreviewSize);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    size_ = new QLabel(this);
    size_->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture_);
    layout->addWidget(size_);
    layout->addStretch();
    show(QString());
  }

  void show(const QString& path) {
    const QImage image = path.isEmpty() ? QImage() : previewImage(path);
    if (image.isNull()) {
      picture_->setPixmap(QPixmap());
      picture_->setText(QStringLiteral("(None)"));
      size_->clear();
      return;
    }
    QImage shown = image;
    if (shown.width() > kPreviewSize || shown.height() > kPreviewSize)
      shown =
          shown.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture_->setPixmap(QPixmap::fromImage(shown));
    size_->setText(QStringLiteral("%1 x %2").arg(image.width()).arg(image.height()));
  }

 private:
  QLabel* picture_;
  QLabel* size_;
};

// The description without a closing "(patterns)" that lists exactly the given patterns,
// separated by semicolons or spaces.
QString withoutTrailingPatterns(const QString& description, const QStringList& patterns) {
  const QString trimmed = description.trimmed();
  const qsizetype open = trimmed.lastIndexOf(QLatin1Char('('));
  if (open < 0 || !trimmed.endsWith(QLatin1Char(')'))) return description;
  const QString inner = trimmed.mid(open + 1, trimmed.size() - open - 2);
  QStringList shown = inner.split(QRegularExpression(QStringLiteral("[; ]")), Qt::SkipEmptyParts);
  if (shown != patterns) return description;
  return trimmed.left(open).trimmed();
}

}  // namespace

QImage previewImage(const QString& path) {
  const QString extension = QFileInfo(path).suffix().toLower();
  // Read through the same checked reader as a chosen file, so that merely pointing at a named
  // pipe or a device in the dialog cannot stall it.
  QByteArray bytes;
  try {
    bytes = readWholeFile(path);
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
      return JpegPicture::fromBytes(bytes).image();
    if (extension == QLatin1String("bmp")) return readBitmap(bytes);
  } catch (const std::exception&) {
    return QImage();
  }
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer, extension.toLatin1());
  reader.setAutoTransform(false);
  return reader.read();
}

QStringList OpenPictureDialog::nameFilters() const {
  QStringList result;
  const QStringList parts = filter_.split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) pattern = pattern.trimmed();
    const QString list = patterns.join(QLatin1Char(' '));
    // The file dialog takes the patterns from the last parentheses, separated by spaces; a
    // description that already ends in its own patterns loses that ending so they show once.
    result << withoutTrailingPatterns(description, patterns) + QStringLiteral(" (") + list +
                  QStringLiteral(")");
  }
  return result;
}

bool OpenPictureDialog::execute(QWidget* parent) {
  if (hook()) {
    const std::optional<QString> answer = hook()(*this);
    if (!answer) return false;
    fileName_ = *answer;
    return true;
  }
  QFileDialog dialog(parent, QStringLiteral("Open"));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList filters = nameFilters();
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const bool inRange = filterIndex_ >= 1 && filterIndex_ <= filters.size();
    dialog.selectNameFilter(filters[inRange ? filterIndex_ - 1 : 0]);
  }
  QString extension = defaultExtension_;
  if (extension.startsWith(QLatin1Char('.'))) extension.remove(0, 1);
  dialog.setDefaultSuffix(extension);

  auto* preview = new PicturePreview(&dialog);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
  QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                   [preview](const QString& path) { preview->show(path); });

  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName_ = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
  return true;
}

void OpenPictureDialog::setHook(Hook newHook) { hook() = std::move(newHook); }

}  // namespace wf
