// The setter habit of the controls: a property takes a new value, and the control reacts only
// when the value really changed.
#pragma once

namespace wf {

// Stores `value` in `field` when the two differ; returns whether it did.
template <class Value>
bool storeChanged(Value& field, const Value& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace wf
