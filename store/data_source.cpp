#include "store/data_source.h"

#include <algorithm>

#include "store/client_table.h"

namespace wf {

TDataSource::TDataSource(std::string name) : name_(std::move(name)) {}

TDataSource::~TDataSource() {
  setDataSet(nullptr);
  std::vector<DataSourceObserver*> observers = observers_;
  for (DataSourceObserver* observer : observers)
    if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
      observer->dataSourceDestroyed(*this);
}

void TDataSource::setDataSet(TClientTable* table) {
  if (table == dataSet_) return;
  if (dataSet_ != nullptr) {
    auto& sources = dataSet_->dataSources_;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
  }
  dataSet_ = table;
  if (dataSet_ != nullptr) dataSet_->dataSources_.push_back(this);
  notifyActiveChanged();
}

void TDataSource::addObserver(DataSourceObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void TDataSource::removeObserver(DataSourceObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

// Observers may add or remove observers (or destroy themselves) from a callback: iterate over a
// copy and skip those that have gone meanwhile.
template <class Call>
void TDataSource::forEachObserver(Call call) {
  std::vector<DataSourceObserver*> observers = observers_;
  for (DataSourceObserver* observer : observers)
    if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
      call(*observer);
}

void TDataSource::notifyActiveChanged() {
  forEachObserver([this](DataSourceObserver& o) { o.activeChanged(*this); });
}
void TDataSource::notifyStateChanged() {
  forEachObserver([this](DataSourceObserver& o) { o.stateChanged(*this); });
}
void TDataSource::notifyDataSetChanged() {
  forEachObserver([this](DataSourceObserver& o) { o.dataSetChanged(*this); });
}
void TDataSource::notifyRecordMoved() {
  forEachObserver([this](DataSourceObserver& o) { o.recordMoved(*this); });
}
void TDataSource::notifyFieldChanged(TField* field) {
  forEachObserver([this, field](DataSourceObserver& o) { o.fieldChanged(*this, field); });
}
void TDataSource::notifyUpdateData() {
  forEachObserver([this](DataSourceObserver& o) { o.updateData(*this); });
}

}  // namespace wf
