#include "store/field_def.h"

namespace wf {

const char* fieldTypeName(TFieldType type) {
  switch (type) {
    case ftString: return "String";
    case ftSmallint: return "SmallInt";
    case ftInteger: return "Integer";
    case ftAutoInc: return "AutoInc";
    case ftFloat: return "Float";
    case ftCurrency: return "Currency";
    case ftDateTime: return "DateTime";
    case ftBlob: return "Blob";
    case ftMemo: return "Memo";
    case ftUnknown: break;
  }
  return "Unknown";
}

bool isIntegerType(TFieldType type) {
  return type == ftSmallint || type == ftInteger || type == ftAutoInc;
}

bool isFloatType(TFieldType type) {
  return type == ftFloat || type == ftCurrency || type == ftDateTime;
}

bool isBytesType(TFieldType type) { return type == ftString || type == ftBlob || type == ftMemo; }

}  // namespace wf
