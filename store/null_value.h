// The shared null field value (a value that was explicitly cleared).
#pragma once

#include "store/datapacket.h"

namespace wf {

const Value& nullValue();

}  // namespace wf
