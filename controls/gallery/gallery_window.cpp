#include "controls/gallery/gallery_window.h"

#include "controls/busy_wheel.h"
#include "controls/button_scheme.h"
#include "controls/closing_cylinder_look.h"
#include "controls/gif_animator.h"
#include "controls/grad_button.h"
#include "controls/grad_panel.h"
#include "controls/panel_presets.h"
#include "controls/progress_cyl.h"

#include <QLabel>
#include <QPainter>

namespace wf {
namespace {

// A button whose mix levels can be pinned, to show the looks a user only sees in passing.
class GalleryButton : public TGradButton {
 public:
  using TGradButton::TGradButton;
  void showLook(int overLevel, int clickLevel) {
    FMouseInside = overLevel > 0;
    FOverLevel = overLevel;
    FClickLevel = clickLevel;
    update();
  }
};

// A small picture on a magenta ground; the ground (the bottom-left pixel's colour) is not drawn.
QImage sampleGlyph(int size) {
  QImage glyph(size, size, QImage::Format_RGB32);
  glyph.fill(QColor(255, 0, 255));
  QPainter painter(&glyph);
  const int unit = size / 8;
  painter.fillRect(QRect(unit, 3 * unit, 6 * unit, 3 * unit), QColor(64, 64, 64));
  painter.fillRect(QRect(2 * unit, unit, 4 * unit, 2 * unit), QColor(255, 255, 255));
  painter.fillRect(QRect(2 * unit, 5 * unit, 4 * unit, 2 * unit), QColor(240, 240, 240));
  painter.fillRect(QRect(5 * unit, 4 * unit, unit, unit / 2 + 1), QColor(0, 200, 0));
  return glyph;
}

GalleryButton* makeButton(QWidget* parent, const QString& caption, const QRect& bounds,
                          StyleColor color) {
  auto* button = new GalleryButton(parent);
  applyStandardButtonScheme(button);
  button->setCaption(caption);
  button->setGeometry(bounds);
  button->setColor(color);
  button->setSpacing(5);
  return button;
}

TGradPanel* makePanel(QWidget* parent, PanelPreset preset, const QString& caption,
                      const QRect& bounds) {
  auto* panel = new TGradPanel(parent);
  applyPanelPreset(panel, preset);
  panel->setCaption(caption);
  panel->setGeometry(bounds);
  return panel;
}

QLabel* makeNote(QWidget* parent, const QString& text, const QRect& bounds) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(bounds);
  label->setStyleSheet(QStringLiteral("color: rgb(0,0,206); background: transparent;"));
  return label;
}

void addButtonStates(QWidget* content) {
  const StyleColor white(255, 255, 255);
  makeNote(content, QStringLiteral("Button looks (standard button scheme)"),
           QRect(20, 16, 400, 16));
  const int y = 36;
  int x = 20;
  auto next = [&x] {
    const int at = x;
    x += 88;
    return at;
  };
  makeButton(content, QStringLiteral("Default"), QRect(next(), y, 75, 25), white);
  makeButton(content, QStringLiteral("Over 50%"), QRect(next(), y, 75, 25), white)->showLook(50, 0);
  makeButton(content, QStringLiteral("Over"), QRect(next(), y, 75, 25), white)->showLook(100, 0);
  makeButton(content, QStringLiteral("Clicked"), QRect(next(), y, 75, 25), white)
      ->showLook(100, 100);
  auto* ring = makeButton(content, QStringLiteral("Ring"), QRect(next(), y, 75, 25), white);
  ring->setGradientBorder(true);
  ring->showLook(100, 100);
  makeButton(content, QStringLiteral("Disabled"), QRect(next(), y, 75, 25), white)
      ->setEnabled(false);
  auto* focused = makeButton(content, QStringLiteral("Focused"), QRect(next(), y, 75, 25), white);
  focused->setShowFocusRect(true);
  focused->setFocus();
  auto* hot = makeButton(content, QStringLiteral("Hot track"), QRect(next(), y, 75, 25), white);
  hot->setHotTrack(true);
  hot->showLook(100, 0);
  auto* latched = makeButton(content, QStringLiteral("Latched"), QRect(next(), y, 75, 25), white);
  latched->setGroupIndex(1);
  latched->setDown(true);
  latched->showLook(100, 100);
  makeButton(content, QStringLiteral("A very long caption"), QRect(next(), y, 75, 25), white);

  x = 20;
  const int glyphRow = 72;
  auto* print =
      makeButton(content, QStringLiteral("Print..."), QRect(next(), glyphRow, 75, 25), white);
  print->setGlyph(sampleGlyph(16));
  auto* glyphOnly = makeButton(content, QString(), QRect(next(), glyphRow, 75, 25), white);
  glyphOnly->setGlyph(sampleGlyph(16));
  auto* disabledGlyph =
      makeButton(content, QStringLiteral("Print..."), QRect(next(), glyphRow, 75, 25), white);
  disabledGlyph->setGlyph(sampleGlyph(16));
  disabledGlyph->setEnabled(false);
  auto* right =
      makeButton(content, QStringLiteral("Right"), QRect(next(), glyphRow, 75, 25), white);
  right->setGlyph(sampleGlyph(16));
  right->setLayout(TButtonLayout::blGlyphRight);
  auto* big =
      makeButton(content, QStringLiteral("Photo"), QRect(next(), glyphRow - 6, 120, 37), white);
  big->setGlyph(sampleGlyph(24));
  big->setSpacing(8);
  x += 45;
  auto* top =
      makeButton(content, QStringLiteral("Top"), QRect(next(), glyphRow - 20, 75, 50), white);
  top->setGlyph(sampleGlyph(16));
  top->setLayout(TButtonLayout::blGlyphTop);
}

void addCaptionPositions(QWidget* content) {
  makeNote(content, QStringLiteral("Caption positions (panel defaults)"), QRect(20, 114, 400, 16));
  const QStringList names = {QStringLiteral("cpGroupBox"),     QStringLiteral("cpTopLeft"),
                             QStringLiteral("cpTopCenter"),    QStringLiteral("cpTopRight"),
                             QStringLiteral("cpMiddleLeft"),   QStringLiteral("cpMiddleCenter"),
                             QStringLiteral("cpMiddleRight"),  QStringLiteral("cpBottomLeft"),
                             QStringLiteral("cpBottomCenter"), QStringLiteral("cpBottomRight")};
  for (int i = 0; i < names.size(); ++i) {
    auto* panel = new TGradPanel(content);
    panel->setCaptionPosition(static_cast<TGradCaptionPos>(i));
    panel->setCaption(names.at(i));
    panel->setOuterColor(StyleColor(255, 255, 255));
    panel->setGeometry(20 + (i % 5) * 190, 134 + (i / 5) * 72, 180, 64);
  }
}

void addPresetSamples(QWidget* content) {
  makeNote(content,
           QStringLiteral("Grey bar and grid frame presets; a disabled content panel caption"),
           QRect(20, 284, 600, 16));
  auto* greyBar =
      makePanel(content, PanelPreset::GreyBar, QStringLiteral("Services"), QRect(20, 304, 460, 45));
  makeButton(greyBar, QStringLiteral("New"), QRect(8, 10, 75, 25), StyleColor(192, 192, 192));
  makeButton(greyBar, QStringLiteral("Edit"), QRect(91, 10, 75, 25), StyleColor(192, 192, 192));
  makeButton(greyBar, QStringLiteral("Delete"), QRect(174, 10, 75, 25), StyleColor(192, 192, 192));
  auto* frame = makePanel(content, PanelPreset::GridFrame, QString(), QRect(20, 356, 460, 120));
  auto* grid = new QLabel(QStringLiteral("  (grid)"), frame);
  grid->setGeometry(6, 6, 448, 108);
  grid->setStyleSheet(QStringLiteral("background: white; border: 1px solid rgb(160,160,160);"));

  auto* nested = makePanel(content, PanelPreset::ContentPanel, QStringLiteral("Disabled caption"),
                           QRect(500, 304, 230, 172));
  nested->setEnabled(false);
  auto* titled =
      makePanel(content, PanelPreset::TitleBar,
                QStringLiteral("A title bar caption too long to fit"), QRect(750, 304, 220, 45));
  (void)titled;
  auto* buttonBar = makePanel(content, PanelPreset::ButtonBar, QStringLiteral("Button bar caption"),
                              QRect(750, 356, 220, 45));
  (void)buttonBar;
}

// The closing window's two controls: the cylinder progress bar and the animated busy wheel.
void addClosingWindowControls(QWidget* content) {
  makeNote(content, QStringLiteral("Progress cylinder, GIF animator"), QRect(750, 408, 220, 16));
  auto* cylinder = new TProgressCyl(content);
  cylinder->setGeometry(730, 426, 201, 25);
  applyClosingCylinderLook(*cylinder);
  cylinder->setPosition(3);
  auto* wheel = new TGIFAnimator(content);
  wheel->setGeometry(940, 422, 32, 32);
  wheel->loadFromData(busyWheelGif());
  wheel->setAnimate(true);
}

}  // namespace

GalleryWindow::GalleryWindow(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Wrenfold styled controls"));
  setFixedSize(992, 620);
  makePanel(this, PanelPreset::TitleBar, QStringLiteral("Styled Controls Gallery"),
            QRect(0, 0, 992, 45));
  auto* content = makePanel(this, PanelPreset::ContentPanel, QString(), QRect(0, 45, 992, 530));
  addButtonStates(content);
  addCaptionPositions(content);
  addPresetSamples(content);
  addClosingWindowControls(content);
  auto* bar = makePanel(this, PanelPreset::ButtonBar, QString(), QRect(0, 575, 992, 45));
  const StyleColor barGreen(3, 171, 73);
  auto* save = makeButton(bar, QStringLiteral("Save"), QRect(816, 10, 75, 25), barGreen);
  save->setDefault(true);
  auto* close = makeButton(bar, QStringLiteral("Close"), QRect(904, 10, 75, 25), barGreen);
  close->setCancel(true);
  connect(close, &TGradButton::clicked, this, &QWidget::close);
}

}  // namespace wf
