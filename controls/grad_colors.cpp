#include "controls/grad_colors.h"

#include "controls/grad_custom_control.h"
#include "controls/store_changed.h"

#include <stdexcept>

namespace wf {

QString persistentClassName(const QObject* object) {
  if (object == nullptr) return QStringLiteral("nil");
  const QString name = QString::fromLatin1(object->metaObject()->className());
  const qsizetype colons = name.lastIndexOf(QLatin1String("::"));
  return colons >= 0 ? name.mid(colons + 2) : name;
}

TGradCustomColors::TGradCustomColors(TGradCustomControl* owner) : owner_(owner) {}

void TGradCustomColors::setDefaultFrom(StyleColor value) {
  if (storeChanged(defaultFrom_, value)) Changed();
}
void TGradCustomColors::setDefaultTo(StyleColor value) {
  if (storeChanged(defaultTo_, value)) Changed();
}
void TGradCustomColors::setOverFrom(StyleColor value) {
  if (storeChanged(overFrom_, value)) Changed();
}
void TGradCustomColors::setOverTo(StyleColor value) {
  if (storeChanged(overTo_, value)) Changed();
}

void TGradCustomColors::refuseAssign(const QObject* source) const {
  throw std::runtime_error(QStringLiteral("Cannot assign a %1 to a %2")
                               .arg(persistentClassName(source), persistentClassName(this))
                               .toStdString());
}

void TGradCustomColors::assign(const QObject* source) {
  const auto* colors = qobject_cast<const TGradCustomColors*>(source);
  if (colors == nullptr) refuseAssign(source);
  defaultFrom_ = colors->defaultFrom_;
  defaultTo_ = colors->defaultTo_;
  overFrom_ = colors->overFrom_;
  overTo_ = colors->overTo_;
  Changed();
}

TGradControlColors::TGradControlColors(TGradCustomControl* owner) : TGradCustomColors(owner) {}

void TGradControlColors::setClickedFrom(StyleColor value) {
  if (storeChanged(clickedFrom_, value)) Changed();
}
void TGradControlColors::setClickedTo(StyleColor value) {
  if (storeChanged(clickedTo_, value)) Changed();
}
void TGradControlColors::setBorderColor(StyleColor value) {
  if (storeChanged(borderColor_, value)) Changed();
}
void TGradControlColors::setHotTrack(StyleColor value) {
  if (storeChanged(hotTrack_, value)) repaintOwner();
}
void TGradControlColors::setTextShadow(StyleColor value) {
  if (storeChanged(textShadow_, value)) repaintOwner();
}

void TGradControlColors::assign(const QObject* source) {
  const auto* colors = qobject_cast<const TGradControlColors*>(source);
  if (colors == nullptr) {
    TGradCustomColors::assign(source);
    return;
  }
  clickedFrom_ = colors->clickedFrom_;
  clickedTo_ = colors->clickedTo_;
  hotTrack_ = colors->hotTrack_;
  borderColor_ = colors->borderColor_;
  textShadow_ = colors->textShadow_;
  TGradCustomColors::assign(source);  // the shared four, then one rebuild
  repaintOwner();
}

void TGradControlColors::Changed() {
  if (owner_ != nullptr) owner_->RebuildBuffers();
}

void TGradControlColors::repaintOwner() {
  if (owner_ != nullptr) owner_->update();
}

TGradSplitterColors::TGradSplitterColors(TGradCustomControl* owner) : TGradCustomColors(owner) {
  defaultFrom_ = clBtnFace;
  defaultTo_ = clBtnFace;
}

void TGradSplitterColors::Changed() {
  if (owner_ != nullptr) owner_->RebuildBuffers();
}

}  // namespace wf
