// Test doubles for the report engine: an in-memory table, a canvas that records what is drawn,
// and a page sink that keeps one such canvas per page.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "reports/page_canvas.h"
#include "reports/report_dataset.h"
#include "reports/report_page_sink.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

namespace wf::test {

class MemoryDataSet;

class MemoryField : public ReportField {
 public:
  MemoryField(MemoryDataSet& table, int column, QString name, ReportFieldKind kind)
      : table_(table), column_(column), name_(std::move(name)), kind_(kind) {}

  QString name() const override { return name_; }
  ReportFieldKind kind() const override { return kind_; }
  bool isNull() const override { return !value().isValid(); }
  double asNumber() const override { return value().toDouble(); }
  QString asText() const override { return value().toString(); }
  double asDate() const override { return value().toDouble(); }
  QString displayText() const override;

 private:
  QVariant value() const;

  MemoryDataSet& table_;
  int column_;
  QString name_;
  ReportFieldKind kind_;
};

// Rows of QVariant values; an invalid QVariant is a null field. Money fields display as
// "$" and two decimals so tests can tell display text from raw values.
class MemoryDataSet : public ReportDataSet {
 public:
  explicit MemoryDataSet(QString name) : name_(std::move(name)) {}

  MemoryDataSet& addField(const QString& name, ReportFieldKind kind) {
    fields_.push_back(
        std::make_unique<MemoryField>(*this, static_cast<int>(fields_.size()), name, kind));
    return *this;
  }
  MemoryDataSet& addRow(std::vector<QVariant> row) {
    rows_.push_back(std::move(row));
    return *this;
  }
  void clearRows() {
    rows_.clear();
    current_ = 0;
  }

  QString name() const override { return name_; }
  bool isOpen() const override { return open_; }
  void first() override {
    current_ = 0;
    eof_ = rows_.empty();
  }
  // Like a table cursor: next on the last record sets end of data and stays on that record.
  void next() override {
    if (current_ + 1 < static_cast<int>(rows_.size()))
      ++current_;
    else
      eof_ = true;
  }
  bool eof() const override { return eof_; }
  int recordCount() const override { return static_cast<int>(rows_.size()); }
  ReportField* findField(const QString& name) override {
    for (auto& field : fields_)
      if (field->name().compare(name, Qt::CaseInsensitive) == 0) return field.get();
    return nullptr;
  }

  QVariant cell(int column) const {
    if (!open_ || rows_.empty()) return QVariant();
    if (current_ < 0 || current_ >= static_cast<int>(rows_.size())) return QVariant();
    const auto& row = rows_[static_cast<size_t>(current_)];
    return column < static_cast<int>(row.size()) ? row[static_cast<size_t>(column)] : QVariant();
  }
  int current() const { return current_; }
  void setCurrent(int index) { current_ = index; }
  void setOpen(bool open) { open_ = open; }

 private:
  QString name_;
  std::vector<std::unique_ptr<MemoryField>> fields_;
  std::vector<std::vector<QVariant>> rows_;
  int current_ = 0;
  bool eof_ = false;
  bool open_ = true;
};

inline QVariant MemoryField::value() const { return table_.cell(column_); }

inline QString MemoryField::displayText() const {
  if (isNull()) return QString();
  if (kind_ == ReportFieldKind::Currency)
    return QStringLiteral("$") + QString::number(value().toDouble(), 'f', 2);
  return value().toString();
}

// Everything a page received, in order.
struct DrawnText {
  int x;
  int y;
  TextAnchor anchor;
  QString text;
  QColor color;
  QFont font;
};
struct DrawnPicture {
  QRect target;
  QSize pictureSize;
  std::optional<QRect> clip;
};
struct FilledRect {
  QRect rect;
  QColor color;
};

// A canvas measuring text like a device of the given resolution; 254 dpi makes one device pixel
// one native unit, so positions read straight as report geometry.
class RecordingCanvas : public PageCanvas {
 public:
  explicit RecordingCanvas(int dpi = 254) : dpi_(dpi), surface_(1, 1, QImage::Format_RGB32) {
    surface_.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
    surface_.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
    metrics_.emplace(font_, &surface_);
  }

  int dpiX() const override { return dpi_; }
  int dpiY() const override { return dpi_; }
  QSize pageSize() const override {
    return QSize(static_cast<int>(2100 * dpi_ / 254.0 + 0.5),
                 static_cast<int>(2970 * dpi_ / 254.0 + 0.5));
  }
  void setFont(const QFont& font) override {
    font_ = font;
    metrics_.emplace(font_, &surface_);
  }
  int textWidth(const QString& text) const override { return metrics_->horizontalAdvance(text); }
  int textHeight() const override { return metrics_->height(); }
  void fillRect(const QRect& rect, const QColor& color) override { fills.push_back({rect, color}); }
  void drawText(int x, int y, TextAnchor anchor, const QString& text,
                const QColor& color) override {
    texts.push_back({x, y, anchor, text, color, font_});
  }
  void drawPicture(const QRect& target, const QImage& picture) override {
    pictures.push_back({target, picture.size(), clip_});
  }
  void setClipRect(const QRect& rect) override { clip_ = rect; }
  void clearClip() override { clip_.reset(); }

  // Texts whose string equals text.
  std::vector<DrawnText> textsEqual(const QString& text) const {
    std::vector<DrawnText> found;
    for (const auto& t : texts)
      if (t.text == text) found.push_back(t);
    return found;
  }

  std::vector<FilledRect> fills;
  std::vector<DrawnText> texts;
  std::vector<DrawnPicture> pictures;

 private:
  int dpi_;
  QImage surface_;
  QFont font_;
  std::optional<QFontMetrics> metrics_;
  std::optional<QRect> clip_;
};

class RecordingSink : public ReportPageSink {
 public:
  explicit RecordingSink(int dpi = 254) : dpi_(dpi) {}

  void setPrinterSettings(const ReportPrinterSettings&, const ReportPage&) override {}
  bool beginDocument() override {
    pages.clear();
    began = true;
    return true;
  }
  PageCanvas& newPage() override {
    pages.push_back(std::make_unique<RecordingCanvas>(dpi_));
    if (onNewPage) onNewPage(static_cast<int>(pages.size()));
    return *pages.back();
  }
  void finishPage() override { ++finishedPages; }
  void endDocument() override { ended = true; }
  void abortDocument() override { aborted = true; }
  void progress(int percent) override {
    progressValues.push_back(percent);
    if (onProgress) onProgress(percent);
  }
  bool cancelled() const override { return cancelled_; }
  void cancel() { cancelled_ = true; }
  double leftOffset() const override { return 0; }
  double topOffset() const override { return 0; }

  RecordingCanvas& page(int number) { return *pages.at(static_cast<size_t>(number - 1)); }

  std::vector<std::unique_ptr<RecordingCanvas>> pages;
  std::vector<int> progressValues;
  std::function<void(int)> onNewPage;
  std::function<void(int)> onProgress;
  int finishedPages = 0;
  bool began = false;
  bool ended = false;
  bool aborted = false;

 private:
  int dpi_;
  bool cancelled_ = false;
};

}  // namespace wf::test
