// The colour sets of the styled controls: the default and over gradients every styled control
// has (TGradCustomColors), the button's full set with its clicked gradient, hot-track, border
// and shadow colours (TGradControlColors), and the splitter set kept by the style manager.
#pragma once

#include "controls/grad_style_color.h"

#include <QObject>

namespace wf {

class TGradCustomControl;

// The class name an assignment failure reports: the bare class name, "nil" for null.
QString persistentClassName(const QObject* object);

class TGradCustomColors : public QObject {
  Q_OBJECT
 public:
  explicit TGradCustomColors(TGradCustomControl* owner = nullptr);

  TGradCustomControl* owner() const { return owner_; }

  StyleColor DefaultFrom() const { return defaultFrom_; }
  StyleColor DefaultTo() const { return defaultTo_; }
  StyleColor OverFrom() const { return overFrom_; }
  StyleColor OverTo() const { return overTo_; }
  void setDefaultFrom(StyleColor value);
  void setDefaultTo(StyleColor value);
  void setOverFrom(StyleColor value);
  void setOverTo(StyleColor value);

  // Copies the colours of another colour set: the four shared ones, or all of them when both
  // are of the same richer kind. Anything else (including null) throws std::runtime_error
  // "Cannot assign a <source class> to a <this class>".
  virtual void assign(const QObject* source);

 protected:
  // Called after a stored colour changed.
  virtual void Changed() {}
  [[noreturn]] void refuseAssign(const QObject* source) const;

  TGradCustomControl* owner_;
  StyleColor defaultFrom_{255, 255, 255};
  StyleColor defaultTo_{175, 190, 209};
  StyleColor overFrom_{255, 255, 255};
  StyleColor overTo_{118, 148, 190};
};

// The colours of one gradient button; gradient and border changes make the owner rebuild its
// buffers, hot-track and shadow changes only repaint it.
class TGradControlColors : public TGradCustomColors {
  Q_OBJECT
 public:
  explicit TGradControlColors(TGradCustomControl* owner = nullptr);

  StyleColor ClickedFrom() const { return clickedFrom_; }
  StyleColor ClickedTo() const { return clickedTo_; }
  StyleColor HotTrack() const { return hotTrack_; }
  StyleColor BorderColor() const { return borderColor_; }
  StyleColor TextShadow() const { return textShadow_; }
  void setClickedFrom(StyleColor value);
  void setClickedTo(StyleColor value);
  void setHotTrack(StyleColor value);
  void setBorderColor(StyleColor value);
  void setTextShadow(StyleColor value);

  void assign(const QObject* source) override;

 protected:
  void Changed() override;

 private:
  void repaintOwner();

  StyleColor clickedFrom_{214, 207, 198};
  StyleColor clickedTo_{247, 243, 235};
  StyleColor hotTrack_{0, 0, 255};
  StyleColor borderColor_{128, 128, 128};
  StyleColor textShadow_{255, 255, 255};
};

// Default gradient in the button-face colour; a change asks the owning splitter to re-render.
// The application has no splitter; the style manager keeps one of these sets.
class TGradSplitterColors : public TGradCustomColors {
  Q_OBJECT
 public:
  explicit TGradSplitterColors(TGradCustomControl* owner = nullptr);

 protected:
  void Changed() override;
};

}  // namespace wf
