#include "store/null_value.h"

namespace wf {

// Built once here: GCC's sanitizer builds warn (wrongly) that constructing a variant on its
// empty alternative may read uninitialized storage, wherever Value::null() is inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
const Value& nullValue() {
  static const Value kNull = Value::null();
  return kNull;
}
#pragma GCC diagnostic pop

}  // namespace wf
