#include "store/field_factory.h"

#include "store/blob_field.h"
#include "store/currency_field.h"
#include "store/date_time_field.h"
#include "store/integer_field.h"
#include "store/string_field.h"

namespace wf {

std::unique_ptr<TField> makeField(const std::string& name, TFieldType type, int size) {
  switch (type) {
    case ftString: return std::make_unique<TStringField>(name, size);
    case ftSmallint: return std::make_unique<TSmallintField>(name);
    case ftInteger: return std::make_unique<TIntegerField>(name);
    case ftAutoInc: return std::make_unique<TAutoIncField>(name);
    case ftFloat:
    case ftCurrency: return std::make_unique<TCurrencyField>(name);
    case ftDateTime: return std::make_unique<TDateTimeField>(name);
    case ftBlob: return std::make_unique<TBlobField>(name);
    case ftMemo: return std::make_unique<TMemoField>(name);
    case ftUnknown: break;
  }
  return nullptr;
}

}  // namespace wf
