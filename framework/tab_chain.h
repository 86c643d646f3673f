// The keyboard focus order of a window, set in one pass.
#pragma once

#include <initializer_list>
#include <vector>

class QWidget;

namespace wf {

// Makes Tab walk the given widgets in this order (and Shift+Tab back). Setting pairs one at a
// time in any other order moves a widget out of the chain it was already placed in; this links
// each widget right after the previous one, so the list is the order.
void setTabChain(std::initializer_list<QWidget*> widgets);

// The widgets Tab reaches from `start`, in order, until it comes back to `start`: those that
// take focus by Tab and are visible and enabled. What a person walking the window meets.
std::vector<QWidget*> tabStops(QWidget* start);

}  // namespace wf
