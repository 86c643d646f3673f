#include "reports/rep_db_text.h"

#include <exception>

#include "reports/report_dataset.h"

namespace wf {

void TRepDBText::prepare(const ExpressionScope& /*scope*/) {
  field_ = DataSet != nullptr ? DataSet->findField(DataField) : nullptr;
}

QString TRepDBText::outputText() const {
  if (field_ == nullptr) return QString();
  try {
    return field_->isNull() ? QString() : field_->displayText();
  } catch (const std::exception&) {
    return QString();
  }
}

}  // namespace wf
