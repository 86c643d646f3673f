// Creates the field object class that shows a column of a given type (for tables opened
// without persistent field objects, and for tools).
#pragma once

#include <memory>
#include <string>

#include "store/field.h"

namespace wf {

// Nothing for a type no field class shows (ftUnknown).
std::unique_ptr<TField> makeField(const std::string& name, TFieldType type, int size);

}  // namespace wf
