// The gradient button: its looks, glyph placement, the fade, clicks, keys, latching and the
// modal result, driven through real mouse and key events on an offscreen window.
#include "controls/grad_button.h"
#include "controls/button_scheme.h"
#include "controls/grad_panel.h"
#include "framework/form_base.h"
#include "pixel_probe.h"
#include "text_ink.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <vector>

namespace wf {
namespace {

using test::rendered;
using test::Rgb;
using test::rgbAt;

// Counts renders of the gradient buffers; the look levels can be pinned for pixel checks.
class ProbeButton : public TGradButton {
 public:
  using TGradButton::TGradButton;
  void RebuildBuffers() override {
    ++rebuilds;
    TGradButton::RebuildBuffers();
  }
  void pinLook(int over, int click) {
    FOverLevel = over;
    FClickLevel = click;
  }
  int rebuilds = 0;
};

class ThrowingButton : public TGradButton {
 public:
  using TGradButton::TGradButton;
  void FadeInStep() override { throw std::runtime_error("step failed"); }
};

void send(QWidget& target, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(at), QPointF(target.mapToGlobal(at)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(&target, &event);
}

void enter(QWidget& button) {
  QEnterEvent event(QPointF(5, 5), QPointF(5, 5), QPointF(button.mapToGlobal(QPoint(5, 5))));
  QApplication::sendEvent(&button, &event);
}

void leave(QWidget& button) {
  QEvent event(QEvent::Leave);
  QApplication::sendEvent(&button, &event);
}

void press(QWidget& button) {
  send(button, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
}
void dragTo(QWidget& button, QPoint at) {
  send(button, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}
void release(QWidget& button, QPoint at = {10, 10}) {
  send(button, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void key(QWidget& target, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent event(QEvent::KeyPress, code, modifiers);
  QApplication::sendEvent(&target, &event);
}

std::vector<int> overLevelsOverTicks(TGradButton& button, int ticks) {
  std::vector<int> levels;
  for (int i = 0; i < ticks; ++i) {
    button.fadeTick();
    levels.push_back(button.overLevel());
  }
  return levels;
}

TEST(GradButtonGlyph, WorkedExampleAndLayouts) {
  const QRect client(0, 0, 75, 25);
  const QSize glyph(16, 16);
  const QRect text = buttonTextRect(TButtonLayout::blGlyphLeft, client, glyph, 5);
  EXPECT_EQ(text.left(), 21);
  EXPECT_EQ(text.left() + text.width(), 75);
  EXPECT_EQ(
      buttonGlyphPosition(TButtonLayout::blGlyphLeft, text, {75, 25}, {30, 13}, glyph, 5, true),
      QPoint(12, 4));
  // Without a caption the glyph is centred: (21 + 75 - 5) div 2 - 16.
  EXPECT_EQ(
      buttonGlyphPosition(TButtonLayout::blGlyphLeft, text, {75, 25}, {30, 13}, glyph, 5, false),
      QPoint(29, 4));

  const QRect rightText = buttonTextRect(TButtonLayout::blGlyphRight, client, glyph, 5);
  EXPECT_EQ(rightText.left(), -21);
  EXPECT_EQ(buttonGlyphPosition(TButtonLayout::blGlyphRight, rightText, {75, 25}, {30, 13}, glyph,
                                5, true),
            QPoint(47, 4));  // (-21 + 75 + 30) div 2 + 5

  const QRect tall(0, 0, 75, 60);
  const QRect topText = buttonTextRect(TButtonLayout::blGlyphTop, tall, glyph, 4);
  EXPECT_EQ(topText.top(), 20);
  EXPECT_EQ(
      buttonGlyphPosition(TButtonLayout::blGlyphTop, topText, {75, 60}, {30, 13}, glyph, 4, true),
      QPoint(29, 13));  // (20 + 60 - 13) div 2 - 4 - 16
  const QRect bottomText = buttonTextRect(TButtonLayout::blGlyphBottom, tall, glyph, 4);
  EXPECT_EQ(buttonGlyphPosition(TButtonLayout::blGlyphBottom, bottomText, {75, 60}, {30, 13}, glyph,
                                4, true),
            QPoint(29, 30));  // (-20 + 60 + 13) div 2 + 4
}

TEST(GradButtonLook, DefaultOverAndClickedGradients) {
  ProbeButton button;
  applyStandardButtonScheme(&button);
  button.setColor(StyleColor(3, 171, 73));

  const QImage idle = rendered(button);
  // The default gradient is copied one pixel right and down: row y shows gradient row y - 1.
  EXPECT_EQ(rgbAt(idle, 10, 1), Rgb(255, 255, 255));
  EXPECT_EQ(rgbAt(idle, 10, 23), Rgb(185, 198, 215));  // row 22: 184.6, 197.8, 214.52
  EXPECT_EQ(rgbAt(idle, 10, 0), Rgb(128, 128, 128));   // border
  EXPECT_EQ(rgbAt(idle, 0, 12), Rgb(128, 128, 128));
  EXPECT_EQ(rgbAt(idle, 74, 12), Rgb(128, 128, 128));
  EXPECT_EQ(rgbAt(idle, 0, 0), Rgb(3, 171, 73));  // cut off by the rounded corner
  EXPECT_EQ(rgbAt(idle, 1, 0), Rgb(3, 171, 73));
  EXPECT_EQ(rgbAt(idle, 1, 1), Rgb(128, 128, 128));
  EXPECT_EQ(rgbAt(idle, 2, 1), Rgb(255, 255, 255));
  EXPECT_EQ(rgbAt(idle, 74, 24), Rgb(3, 171, 73));

  button.pinLook(100, 0);
  const QImage over = rendered(button);
  EXPECT_EQ(rgbAt(over, 10, 1),
            Rgb(250, 251, 252));  // over row 1, not shifted: 249.52, 250.72, 252.4
  EXPECT_EQ(rgbAt(over, 10, 24), Rgb(128, 128, 128));
  EXPECT_EQ(rgbAt(over, 10, 23), rgbAt(button.overBuffer(), 10, 23));

  button.pinLook(50, 0);
  const QImage half = rendered(button);
  // Default row 11 (220, 226, 235) and over row 12 (189, 204, 224), halves to even.
  EXPECT_EQ(rgbAt(half, 10, 12), Rgb(204, 215, 230));

  // Clicked without GradientBorder (the scheme): the clicked gradient fills the inside.
  button.pinLook(100, 100);
  const QImage clicked = rendered(button);
  EXPECT_EQ(rgbAt(clicked, 2, 2), rgbAt(button.clickedBuffer(), 2, 2));
  EXPECT_EQ(rgbAt(clicked, 40, 20), rgbAt(button.clickedBuffer(), 40, 20));

  // With GradientBorder a 3-pixel ring keeps the over look; inside, the clicked gradient is read
  // from its own corner.
  button.setGradientBorder(true);
  const QImage ringed = rendered(button);
  EXPECT_EQ(rgbAt(ringed, 2, 12), rgbAt(button.overBuffer(), 2, 12));
  EXPECT_EQ(rgbAt(ringed, 3, 12), rgbAt(button.clickedBuffer(), 0, 9));
  EXPECT_EQ(rgbAt(ringed, 71, 21), rgbAt(button.clickedBuffer(), 68, 18));
  EXPECT_EQ(rgbAt(ringed, 72, 21), rgbAt(button.overBuffer(), 72, 21));
}

TEST(GradButtonLook, DisabledButtonIsEmbossedWithAGreyGlyph) {
  const QFont font = test::crispFont(QStringLiteral("DejaVu Sans"), 16, true);
  QImage glyph(16, 16, QImage::Format_RGB32);
  glyph.fill(QColor(255, 0, 0));
  glyph.setPixel(0, 15, qRgb(255, 0, 255));  // the transparent colour
  auto look = [&](bool enabled, StyleColor fontColor) {
    TGradButton button;
    applyStandardButtonScheme(&button);
    button.setFont(font);
    button.setFontColor(fontColor);
    button.resize(120, 30);
    button.setCaption(QStringLiteral("HIH"));
    button.setGlyph(glyph);
    button.setEnabled(enabled);
    return rendered(button);
  };
  // Two font colours differ exactly on the caption's pixels.
  const QImage enabled = look(true, StyleColor(0, 0, 0));
  const test::TextInk ink(enabled, look(true, StyleColor(0, 0, 1)));
  ASSERT_GT(ink.count(), 0);

  // Disabled: the default gradient stays; the caption is embossed, button-highlight 1 pixel
  // right and down under button-shadow; the glyph's red turns to grey 85 lightened by 64, and
  // its bottom-left pixel is not drawn.
  QImage expected = ink.overPlain(enabled, QPoint(1, 1), qRgb(255, 255, 255), qRgb(128, 128, 128));
  // Glyph left of the caption, Spacing 2: T runs from 16 + 2 to 120, the glyph at
  // ((18 + 120 - tw) div 2 - 2 - 16, (30 - 16) div 2).
  const int tw = QFontMetrics(font).horizontalAdvance(QStringLiteral("HIH"));
  const QPoint at((18 + 120 - tw) / 2 - 2 - 16, 7);
  const QPoint transparentCorner = at + QPoint(0, 15);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (at + QPoint(x, y) != transparentCorner)
        expected.setPixel(at + QPoint(x, y), qRgb(149, 149, 149));
  EXPECT_EQ(test::firstDifference(look(false, StyleColor(0, 0, 0)), expected), "");
}

TEST(GradButtonLook, GlyphWithoutCaptionIsCentred) {
  TGradButton button;
  applyStandardButtonScheme(&button);
  button.setSpacing(5);
  QImage glyph(16, 16, QImage::Format_RGB32);
  glyph.fill(QColor(255, 0, 0));
  glyph.setPixel(0, 15, qRgb(0, 0, 255));
  button.setGlyph(glyph);
  const QImage image = rendered(button);
  EXPECT_EQ(rgbAt(image, 29, 4), Rgb(255, 0, 0));
  EXPECT_EQ(rgbAt(image, 44, 19), Rgb(255, 0, 0));
  EXPECT_NE(rgbAt(image, 28, 4), Rgb(255, 0, 0));
  EXPECT_NE(rgbAt(image, 45, 19), Rgb(255, 0, 0));
}

TEST(GradButtonLook, FocusRectangleTwoPixelsInside) {
  QWidget form;
  auto* edit = new QLineEdit(&form);
  auto* button = new TGradButton(&form);
  button->move(0, 30);
  applyStandardButtonScheme(button);
  form.show();
  QApplication::processEvents();
  edit->setFocus();
  QApplication::processEvents();
  ASSERT_FALSE(button->hasFocus());
  const QImage unfocused = rendered(*button);
  button->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(button->hasFocus());
  // The standard scheme shows the focus: a dotted rectangle, every other pixel inverted.
  const QImage focused = rendered(*button);
  EXPECT_EQ(focused.pixel(2, 2) ^ unfocused.pixel(2, 2), 0x00ffffffu);
  EXPECT_EQ(focused.pixel(3, 2), unfocused.pixel(3, 2));
  EXPECT_EQ(focused.pixel(72, 22) ^ unfocused.pixel(72, 22), 0x00ffffffu);
  EXPECT_EQ(focused.pixel(10, 10), unfocused.pixel(10, 10));
  button->setShowFocusRect(false);
  EXPECT_EQ(rendered(*button), unfocused);
}

TEST(GradButtonFade, TenTicksInTenTicksOutAndTheTimerStops) {
  TGradButton button;
  enter(button);
  EXPECT_TRUE(button.mouseInside());
  EXPECT_TRUE(button.fadeTimerActive());
  EXPECT_EQ(overLevelsOverTicks(button, 10),
            (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  EXPECT_FALSE(button.fadeTimerActive());

  leave(button);
  EXPECT_FALSE(button.mouseInside());
  EXPECT_EQ(overLevelsOverTicks(button, 10),
            (std::vector<int>{90, 80, 70, 60, 50, 40, 30, 20, 10, 0}));
  EXPECT_TRUE(button.fadeTimerActive());
  button.fadeTick();  // the eleventh kills it
  EXPECT_EQ(button.overLevel(), 0);
  EXPECT_FALSE(button.fadeTimerActive());
}

TEST(GradButtonFade, TheWindowTimerDrivesTheSteps) {
  TGradButton button;
  button.setFadeSpeed(TFadeSpeed::fsVeryFast);
  enter(button);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return button.overLevel() == 100 && !button.fadeTimerActive(); }, 5000));
  leave(button);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return button.overLevel() == 0 && !button.fadeTimerActive(); }, 5000));
}

TEST(GradButtonFade, QuickInAndOutReversesFromTheCurrentLevel) {
  TGradButton button;
  enter(button);
  overLevelsOverTicks(button, 4);
  leave(button);
  EXPECT_EQ(overLevelsOverTicks(button, 2), (std::vector<int>{30, 20}));
  enter(button);
  EXPECT_EQ(overLevelsOverTicks(button, 3), (std::vector<int>{30, 40, 50}));
}

TEST(GradButtonFade, RepaintsNeverRenderTheGradientsAgain) {
  ProbeButton button;
  button.show();
  QApplication::processEvents();
  button.rebuilds = 0;
  enter(button);
  for (int i = 0; i < 10; ++i) {
    button.fadeTick();
    button.repaint();
  }
  EXPECT_EQ(button.rebuilds, 0);
  button.Colors()->setHotTrack(StyleColor(1, 2, 3));
  button.Colors()->setTextShadow(StyleColor(1, 2, 3));
  EXPECT_EQ(button.rebuilds, 0);
  button.Colors()->setClickedFrom(StyleColor(1, 2, 3));
  EXPECT_EQ(button.rebuilds, 1);
  button.Colors()->setBorderColor(StyleColor(1, 2, 3));
  EXPECT_EQ(button.rebuilds, 2);
  button.setGradientType(TGradientType::gtVertical);  // unchanged
  EXPECT_EQ(button.rebuilds, 2);
  button.resize(80, 30);
  QApplication::processEvents();
  EXPECT_EQ(button.rebuilds, 3);
  EXPECT_EQ(button.defaultBuffer().size(), QSize(80, 30));
}

TEST(GradButtonFade, AFailingStepStaysInsideTheTick) {
  ThrowingButton button;
  enter(button);
  EXPECT_NO_THROW(button.fadeTick());
}

// A button with its clicks counted, the mouse inside and the over look complete.
struct HoveredButton {
  TGradButton button;
  int clicks = 0;
  HoveredButton() {
    QObject::connect(&button, &TGradButton::clicked, [this] { ++clicks; });
    enter(button);
    overLevelsOverTicks(button, 10);
  }
};

TEST(GradButtonMouse, PressAndReleaseInsideClicksOnce) {
  HoveredButton hovered;
  TGradButton& button = hovered.button;
  const int& clicks = hovered.clicks;
  press(button);
  EXPECT_TRUE(button.pressed());
  button.fadeTick();
  EXPECT_EQ(button.clickLevel(), 100);  // the clicked look after one tick
  button.fadeTick();
  EXPECT_FALSE(button.fadeTimerActive());
  release(button);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button.pressed());
  button.fadeTick();
  EXPECT_EQ(button.clickLevel(), 0);  // back to the over look after one tick
  EXPECT_EQ(button.overLevel(), 100);
  EXPECT_FALSE(button.fadeTimerActive());
}

TEST(GradButtonMouse, APressOnAButtonNeverReachesThePanelBehindIt) {
  TGradPanel panel;
  panel.resize(200, 100);
  auto* button = new TGradButton(&panel);
  button->move(20, 20);
  int panelClicks = 0, buttonClicks = 0;
  QObject::connect(&panel, &TGradPanel::clicked, [&] { ++panelClicks; });
  QObject::connect(button, &TGradButton::clicked, [&] { ++buttonClicks; });
  panel.show();
  QApplication::setActiveWindow(&panel);
  QApplication::processEvents();

  struct Step {
    const char* name;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"click", [&] { QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10)); }},
      {"double click",
       [&] { QTest::mouseDClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10)); }},
      {"drag out and release",
       [&] {
         press(*button);
         dragTo(*button, {-30, 10});
         release(*button, {-30, 10});
       }},
      {"right click",
       [&] { QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, QPoint(10, 10)); }},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(panelClicks, 0) << step.name;
    EXPECT_TRUE(button->hasFocus()) << step.name;
  }
  // The button kept the focus, so the keys act on it.
  const int before = buttonClicks;
  QTest::keyClick(button, Qt::Key_Space);
  QTest::keyClick(button, Qt::Key_Return);
  EXPECT_EQ(buttonClicks, before + 2);
}

TEST(GradButtonMouse, DraggingOutsideBeforeReleaseDoesNotClick) {
  HoveredButton hovered;
  TGradButton& button = hovered.button;
  const int& clicks = hovered.clicks;
  press(button);
  button.fadeTick();
  ASSERT_EQ(button.clickLevel(), 100);
  dragTo(button, {200, 10});
  EXPECT_FALSE(button.mouseInside());
  button.fadeTick();
  EXPECT_EQ(button.clickLevel(), 0);
  EXPECT_EQ(button.overLevel(), 90);
  release(button, {200, 10});
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(button.pressed());
  EXPECT_EQ(overLevelsOverTicks(button, 2), (std::vector<int>{80, 70}));  // still fading out
  // Dragging back in before the release would have clicked.
  press(button);
  dragTo(button, {200, 10});
  dragTo(button, {20, 10});
  EXPECT_TRUE(button.mouseInside());
  release(button, {20, 10});
  EXPECT_EQ(clicks, 1);
}

TEST(GradButtonMouse, DoubleClickArrivesAsASecondClick) {
  TGradButton button;
  int clicks = 0;
  QObject::connect(&button, &TGradButton::clicked, [&] { ++clicks; });
  press(button);
  release(button);
  send(button, QEvent::MouseButtonDblClick, {10, 10}, Qt::LeftButton, Qt::LeftButton);
  release(button);
  EXPECT_EQ(clicks, 2);
}

TEST(GradButtonLatch, GroupsReleaseEachOtherAndKeepOneDown) {
  QWidget parent;
  auto* a = new TGradButton(&parent);
  auto* b = new TGradButton(&parent);
  auto* other = new TGradButton(&parent);
  QWidget elsewhere;
  auto* foreign = new TGradButton(&elsewhere);
  for (TGradButton* button : {a, b, foreign}) button->setGroupIndex(1);
  other->setGroupIndex(2);
  other->setDown(true);
  foreign->setDown(true);

  a->setDown(true);
  EXPECT_TRUE(a->Down());
  EXPECT_TRUE(a->pressed());
  b->setDown(true);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(other->Down());    // another group
  EXPECT_TRUE(foreign->Down());  // another parent

  b->setDown(false);  // the last one down stays down
  EXPECT_TRUE(b->Down());
  b->Click();  // clicking toggles, under the same rule
  EXPECT_TRUE(b->Down());
  a->Click();
  EXPECT_TRUE(a->Down());
  EXPECT_FALSE(b->Down());

  a->setAllowAllUp(true);
  a->Click();
  EXPECT_FALSE(a->Down());

  TGradButton plain;
  plain.setDown(true);
  EXPECT_FALSE(plain.Down());
}

TEST(GradButtonLatch, LatchedButtonKeepsItsLookWhenTheMouseLeaves) {
  QWidget parent;
  auto* button = new TGradButton(&parent);
  button->setGroupIndex(1);
  enter(*button);
  press(*button);
  release(*button);
  ASSERT_TRUE(button->Down());
  button->fadeTick();
  EXPECT_EQ(button->clickLevel(), 100);
  leave(*button);
  EXPECT_TRUE(button->mouseInside());
  EXPECT_TRUE(button->pressed());
  button->fadeTick();
  EXPECT_EQ(button->clickLevel(), 100);
}

// The toolkit delivers enter and leave to disabled widgets too; a disabled button keeps the
// default look through them, drops a look it had when it is disabled, and fades in when it is
// enabled again with the pointer still over it.
TEST(GradButtonDisabled, KeepsTheDefaultLookUnderThePointer) {
  ProbeButton button;
  applyStandardButtonScheme(&button);
  int entered = 0;
  QObject::connect(&button, &TGradButton::mouseEntered, [&] { ++entered; });
  button.setEnabled(false);
  const QImage idle = rendered(button);

  enter(button);
  EXPECT_FALSE(button.mouseInside());
  EXPECT_EQ(overLevelsOverTicks(button, 10), std::vector<int>(10, 0));
  EXPECT_EQ(test::firstDifference(rendered(button), idle), "");
  EXPECT_EQ(entered, 0);
  leave(button);

  // Hovered and held, then disabled: back to the default look at once, with no timer running.
  button.setEnabled(true);
  enter(button);
  overLevelsOverTicks(button, 5);
  press(button);
  button.fadeTick();
  ASSERT_EQ(button.clickLevel(), 100);
  button.setEnabled(false);
  EXPECT_EQ(button.overLevel(), 0);
  EXPECT_EQ(button.clickLevel(), 0);
  EXPECT_FALSE(button.pressed());
  EXPECT_FALSE(button.fadeTimerActive());
  EXPECT_EQ(test::firstDifference(rendered(button), idle), "");

  // Enabled again with the pointer still inside (no new enter comes): the over look fades in.
  button.setEnabled(true);
  EXPECT_TRUE(button.mouseInside());
  EXPECT_EQ(overLevelsOverTicks(button, 10).back(), 100);
  // Left while disabled: enabling it again shows no over look.
  button.setEnabled(false);
  leave(button);
  button.setEnabled(true);
  EXPECT_FALSE(button.mouseInside());
  EXPECT_EQ(overLevelsOverTicks(button, 3), std::vector<int>(3, 0));
}

TEST(GradButtonDialog, ModalResultClosesTheDialogAfterTheHandlers) {
  QDialog dialog;
  auto* ok = new TGradButton(&dialog);
  ok->setModalResult(1);
  auto* plain = new TGradButton(&dialog);
  dialog.show();
  QApplication::processEvents();

  plain->Click();  // none: clears the result, stays open
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 0);

  // A handler may clear the result to keep the dialog open.
  auto veto = QObject::connect(ok, &TGradButton::clicked, [&] { dialog.setResult(0); });
  ok->Click();
  EXPECT_TRUE(dialog.isVisible());
  QObject::disconnect(veto);

  int resultSeenByHandler = -1;
  QObject::connect(ok, &TGradButton::clicked, [&] { resultSeenByHandler = dialog.result(); });
  ok->Click();
  EXPECT_EQ(resultSeenByHandler, 1);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 1);
}

TEST(GradButtonDialog, ModalShowingOfAFormReturnsTheButtonsResult) {
  FormBase form;
  auto* save = new TGradButton(&form);
  save->setModalResult(ModalResult::Ok);
  auto* plain = new TGradButton(&form);
  bool visibleInHandler = false;
  QObject::connect(save, &TGradButton::clicked, [&] { visibleInHandler = form.isVisible(); });
  QTimer::singleShot(0, plain, [plain] { plain->Click(); });
  QTimer::singleShot(20, save, [save] { save->Click(); });
  EXPECT_EQ(form.showModal(), ModalResult::Ok);
  EXPECT_TRUE(visibleInHandler);
  EXPECT_FALSE(form.isVisible());
}

TEST(GradButtonDialog, AFailingHandlerStillClosesWithTheResult) {
  QDialog dialog;
  auto* cancel = new TGradButton(&dialog);
  cancel->setModalResult(2);
  QObject::connect(cancel, &TGradButton::clicked,
                   [] { throw std::runtime_error("handler failed"); });
  dialog.show();
  QApplication::processEvents();
  EXPECT_THROW(cancel->Click(), std::runtime_error);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 2);
}

TEST(GradButtonKeys, EnterEscapeAndSpace) {
  QDialog dialog;
  auto* edit = new QLineEdit(&dialog);
  auto* save = new TGradButton(&dialog);
  auto* cancel = new TGradButton(&dialog);
  auto* other = new TGradButton(&dialog);
  save->setDefault(true);
  cancel->setCancel(true);
  int saves = 0, cancels = 0, others = 0;
  QObject::connect(save, &TGradButton::clicked, [&] { ++saves; });
  QObject::connect(cancel, &TGradButton::clicked, [&] { ++cancels; });
  QObject::connect(other, &TGradButton::clicked, [&] { ++others; });
  dialog.show();
  QApplication::processEvents();

  edit->setFocus();
  key(*edit, Qt::Key_Return);
  EXPECT_EQ(saves, 1);
  key(*edit, Qt::Key_Escape, Qt::ShiftModifier);
  EXPECT_EQ(cancels, 0);
  EXPECT_TRUE(dialog.isVisible());
  key(*edit, Qt::Key_Escape);
  EXPECT_EQ(cancels, 1);

  // Enter clicks the focused button, not the default one; Space clicks on every key down.
  other->setFocus();
  key(*other, Qt::Key_Enter);
  EXPECT_EQ(others, 1);
  EXPECT_EQ(saves, 1);
  key(*other, Qt::Key_Space);
  key(*other, Qt::Key_Space);
  key(*other, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(others, 3);

  // A disabled default button cannot take the focus and is not clicked.
  save->setEnabled(false);
  edit->setFocus();
  key(*edit, Qt::Key_Return);
  EXPECT_EQ(saves, 1);
}

TEST(GradButtonProperties, SpacingAndScheme) {
  TGradButton button;
  EXPECT_EQ(button.Spacing(), 2);
  button.setSpacing(-3);
  EXPECT_EQ(button.Spacing(), 0);
  EXPECT_EQ(button.size(), QSize(75, 25));
  EXPECT_TRUE(button.ShowFocusRect());
  EXPECT_TRUE(button.GradientBorder());
  EXPECT_TRUE(button.TextShadow());
  applyStandardButtonScheme(&button);
  EXPECT_TRUE(button.ShowFocusRect());
  EXPECT_FALSE(button.GradientBorder());
  EXPECT_FALSE(button.TextShadow());
  EXPECT_EQ(button.FadeSpeed(), TFadeSpeed::fsMedium);
  EXPECT_EQ(button.font().pixelSize(), 11);
  EXPECT_EQ(button.fontColor(), StyleColor(0, 0, 0));
  EXPECT_EQ(button.Colors()->OverTo(), StyleColor(118, 148, 190));
}

}  // namespace
}  // namespace wf
