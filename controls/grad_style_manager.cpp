#include "controls/grad_style_manager.h"

#include <stdexcept>

namespace wf {

TGradStyleManager::TGradStyleManager(QObject* parent) : QObject(parent) {}

TGradStyleManager::~TGradStyleManager() {
  destroying_ = true;
  const QList<TGradCustomControl*> controls = controls_;
  for (TGradCustomControl* control : controls) control->styleManagerRemoved(this);
}

void TGradStyleManager::registerControl(TGradCustomControl* control) {
  if (control != nullptr && !controls_.contains(control)) controls_.append(control);
}

void TGradStyleManager::unregisterControl(TGradCustomControl* control) {
  if (destroying_) return;
  controls_.removeAll(control);
}

void TGradStyleManager::assign(const QObject* source) {
  const auto* other = qobject_cast<const TGradStyleManager*>(source);
  if (other == nullptr) {
    throw std::runtime_error(QStringLiteral("Cannot assign a %1 to a %2")
                                 .arg(persistentClassName(source), persistentClassName(this))
                                 .toStdString());
  }
  colors_.assign(&other->colors_);
  showFocusRect_ = other->showFocusRect_;
  hotTrack_ = other->hotTrack_;
  gradientBorder_ = other->gradientBorder_;
  textShadow_ = other->textShadow_;
  checkColor_ = other->checkColor_;
  fadeSpeed_ = other->fadeSpeed_;
  panelColor_ = other->panelColor_;
  borderColor_ = other->borderColor_;
  splitterColors_.assign(&other->splitterColors_);
  font_ = other->font_;
}

}  // namespace wf
