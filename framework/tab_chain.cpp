#include "framework/tab_chain.h"

#include <QWidget>

namespace wf {

void setTabChain(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

namespace {

// The test Tab itself applies: a widget with a focus proxy is passed over, its proxy is the stop.
bool takesTabFocus(const QWidget* widget) {
  return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
         widget->focusProxy() == nullptr && widget->isVisibleTo(widget->window()) &&
         widget->isEnabled();
}

}  // namespace

std::vector<QWidget*> tabStops(QWidget* start) {
  std::vector<QWidget*> stops;
  if (start == nullptr) return stops;
  QWidget* window = start->window();
  for (QWidget* w = start->nextInFocusChain(); w != nullptr; w = w->nextInFocusChain()) {
    if (w->window() == window && takesTabFocus(w)) stops.push_back(w);
    if (w == start) break;
  }
  return stops;
}

}  // namespace wf
