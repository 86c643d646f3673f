#include "framework/data_source_model.h"

#include "framework/text_codec.h"
#include "store/client_table.h"
#include "store/field.h"

#include <utility>

namespace wf {

Qt::Alignment fieldAlignment(const TField& field) {
  switch (field.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

DataSourceModel::DataSourceModel(QObject* parent) : QAbstractTableModel(parent) {}

DataSourceModel::~DataSourceModel() {
  if (source_ != nullptr) source_->removeObserver(this);
}

void DataSourceModel::setDataSource(TDataSource* source) {
  if (source == source_) return;
  if (source_ != nullptr) source_->removeObserver(this);
  source_ = source;
  if (source_ != nullptr) source_->addObserver(this);
  rebuild();
}

TClientTable* DataSourceModel::table() const { return source_ ? source_->DataSet() : nullptr; }

void DataSourceModel::setColumns(std::vector<GridColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  resolveFields();
  endResetModel();
}

void DataSourceModel::resolveFields() {
  fields_.assign(columns_.size(), nullptr);
  TClientTable* t = table();
  if (t == nullptr || !t->Active()) return;
  for (size_t i = 0; i < columns_.size(); ++i) fields_[i] = t->findField(columns_[i].fieldName);
}

TField* DataSourceModel::fieldOf(int column) const {
  if (column < 0 || column >= static_cast<int>(fields_.size())) return nullptr;
  return fields_[static_cast<size_t>(column)];
}

int DataSourceModel::currentRow() const {
  TClientTable* t = table();
  if (t == nullptr || !t->Active() || rows_ == 0) return -1;
  const int row = t->recNo();
  return row >= 0 && row < rows_ ? row : -1;
}

void DataSourceModel::rebuild() {
  beginResetModel();
  resolveFields();
  TClientTable* t = table();
  rows_ = t != nullptr && t->Active() ? t->recordCount() : 0;
  endResetModel();
  emit currentRowChanged(currentRow());
}

int DataSourceModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int DataSourceModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DataSourceModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount()) return {};
  const GridColumn& column = columns_[static_cast<size_t>(index.column())];
  TField* f = fieldOf(index.column());
  switch (role) {
    case Qt::DisplayRole:
      if (f == nullptr) return QString();
      return fromWindows1252(table()->displayTextAt(index.row(), *f));
    case Qt::TextAlignmentRole: {
      const Qt::Alignment horizontal =
          column.cellAlignment ? *column.cellAlignment
                               : (f != nullptr ? fieldAlignment(*f) : Qt::Alignment(Qt::AlignLeft));
      return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
      if (column.colour.isValid()) return column.colour;
      return {};
    default: return {};
  }
}

QVariant DataSourceModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return {};
  if (section < 0 || section >= columnCount()) return {};
  const GridColumn& column = columns_[static_cast<size_t>(section)];
  if (role == Qt::DisplayRole) return column.title;
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(column.titleAlignment | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags DataSourceModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void DataSourceModel::activeChanged(TDataSource&) { rebuild(); }

void DataSourceModel::stateChanged(TDataSource&) {
  // The row indicator shows the state; the rows themselves change through the other calls.
  if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
}

void DataSourceModel::dataSetChanged(TDataSource&) { rebuild(); }

void DataSourceModel::recordMoved(TDataSource&) {
  if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
  emit currentRowChanged(currentRow());
}

void DataSourceModel::fieldChanged(TDataSource&, TField*) {
  TClientTable* t = table();
  const int records = t != nullptr && t->Active() ? t->recordCount() : 0;
  if (records != rows_) {
    rebuild();
    return;
  }
  const int row = currentRow();
  if (row >= 0 && !columns_.empty())
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
}

void DataSourceModel::dataSourceDestroyed(TDataSource&) {
  source_ = nullptr;
  rebuild();
}

}  // namespace wf
