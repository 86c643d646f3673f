// Colour sets, the style manager's registration rules, and the fade timer plumbing of the
// styled-control base.
#include "controls/grad_colors.h"
#include "controls/grad_panel.h"
#include "controls/grad_style_manager.h"

#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>

namespace wf {
namespace {

// Counts what a colour change asks of its owner.
class OwnerProbe : public TGradPanel {
 public:
  using TGradPanel::TGradPanel;
  void RebuildBuffers() override { ++rebuilds; }
  int rebuilds = 0;
};

std::string assignFailure(TGradCustomColors& target, const QObject* source) {
  try {
    target.assign(source);
  } catch (const std::runtime_error& failure) {
    return failure.what();
  }
  return "no failure";
}

TEST(GradColors, DefaultsAndSystemColours) {
  const TGradControlColors colors;
  EXPECT_EQ(colors.DefaultFrom(), StyleColor(255, 255, 255));
  EXPECT_EQ(colors.DefaultTo(), StyleColor(175, 190, 209));
  EXPECT_EQ(colors.ClickedFrom(), StyleColor(214, 207, 198));
  EXPECT_EQ(colors.ClickedTo(), StyleColor(247, 243, 235));
  EXPECT_EQ(colors.HotTrack(), StyleColor(0, 0, 255));
  const TGradSplitterColors splitter;
  EXPECT_EQ(splitter.DefaultFrom(), clBtnFace);
  EXPECT_EQ(splitter.OverTo(), StyleColor(118, 148, 190));
  // A system reference is stored as such and differs from its RGB value until resolved.
  EXPECT_FALSE(clBtnFace == StyleColor(212, 208, 200));
  EXPECT_EQ(clBtnFace.rgb(), StyleColor(212, 208, 200).rgb());
  EXPECT_EQ(StyleColor(QColor(1, 2, 3)), StyleColor(1, 2, 3));
}

TEST(GradColors, ChangesReachTheOwnerOnlyWhenAValueChanges) {
  OwnerProbe owner;
  TGradControlColors colors(&owner);
  owner.rebuilds = 0;
  colors.setDefaultFrom(StyleColor(255, 255, 255));  // unchanged
  EXPECT_EQ(owner.rebuilds, 0);
  colors.setDefaultFrom(StyleColor(1, 1, 1));
  colors.setOverTo(StyleColor(1, 1, 1));
  colors.setClickedTo(StyleColor(1, 1, 1));
  colors.setBorderColor(StyleColor(1, 1, 1));
  EXPECT_EQ(owner.rebuilds, 4);
  colors.setHotTrack(StyleColor(1, 1, 1));  // repaint only
  colors.setTextShadow(StyleColor(1, 1, 1));
  EXPECT_EQ(owner.rebuilds, 4);

  TGradSplitterColors splitter(&owner);
  splitter.setOverFrom(StyleColor(2, 2, 2));
  EXPECT_EQ(owner.rebuilds, 5);
  TGradCustomColors plain(&owner);
  plain.setOverFrom(StyleColor(2, 2, 2));  // the base notification does nothing
  EXPECT_EQ(owner.rebuilds, 5);
}

TEST(GradColors, AssignCopiesWhatBothSetsHave) {
  TGradControlColors source;
  source.setDefaultFrom(StyleColor(1, 0, 0));
  source.setOverTo(StyleColor(2, 0, 0));
  source.setClickedFrom(StyleColor(3, 0, 0));
  source.setHotTrack(StyleColor(4, 0, 0));
  source.setTextShadow(StyleColor(5, 0, 0));

  TGradControlColors full;
  full.assign(&source);
  EXPECT_EQ(full.DefaultFrom(), StyleColor(1, 0, 0));
  EXPECT_EQ(full.OverTo(), StyleColor(2, 0, 0));
  EXPECT_EQ(full.ClickedFrom(), StyleColor(3, 0, 0));
  EXPECT_EQ(full.HotTrack(), StyleColor(4, 0, 0));
  EXPECT_EQ(full.TextShadow(), StyleColor(5, 0, 0));

  TGradSplitterColors splitter;
  splitter.assign(&source);
  EXPECT_EQ(splitter.DefaultFrom(), StyleColor(1, 0, 0));

  TGradControlColors partial;
  partial.assign(&splitter);  // only the shared four
  EXPECT_EQ(partial.DefaultFrom(), StyleColor(1, 0, 0));
  EXPECT_EQ(partial.ClickedFrom(), StyleColor(214, 207, 198));

  TGradStyleManager manager;
  EXPECT_EQ(assignFailure(partial, &manager),
            "Cannot assign a TGradStyleManager to a TGradControlColors");
  EXPECT_EQ(assignFailure(splitter, nullptr), "Cannot assign a nil to a TGradSplitterColors");
}

TEST(GradStyleManager, RegistrationFollowsTheControlsSetting) {
  auto manager = std::make_unique<TGradStyleManager>();
  TGradStyleManager second;
  auto panel = std::make_unique<TGradPanel>();
  TGradPanel other;

  panel->setGradStyleManager(manager.get());
  panel->setGradStyleManager(manager.get());
  other.setGradStyleManager(manager.get());
  EXPECT_EQ(manager->registeredControls().size(), 2);

  // Moving to another manager leaves the first one's list.
  panel->setGradStyleManager(&second);
  EXPECT_EQ(manager->registeredControls(), QList<TGradCustomControl*>{&other});
  EXPECT_EQ(second.registeredControls(), QList<TGradCustomControl*>{panel.get()});

  panel.reset();  // a destroyed control unregisters
  EXPECT_TRUE(second.registeredControls().isEmpty());

  other.setGradStyleManager(nullptr);
  EXPECT_TRUE(manager->registeredControls().isEmpty());

  other.setGradStyleManager(manager.get());
  manager.reset();  // a destroyed manager leaves its controls without one
  EXPECT_EQ(other.GradStyleManager(), nullptr);
}

TEST(GradStyleManager, DefaultsAndAssign) {
  TGradStyleManager source;
  EXPECT_TRUE(source.ShowFocusRect());
  EXPECT_FALSE(source.HotTrack());
  EXPECT_TRUE(source.GradientBorder());
  EXPECT_EQ(source.CheckColor(), StyleColor(0, 128, 0));
  EXPECT_EQ(source.PanelColor(), StyleColor(223, 223, 227));
  EXPECT_EQ(source.FadeSpeed(), TFadeSpeed::fsMedium);
  source.setHotTrack(true);
  source.setFadeSpeed(TFadeSpeed::fsSlow);
  source.Colors()->setOverFrom(StyleColor(9, 9, 9));
  source.SplitterColors()->setDefaultTo(StyleColor(8, 8, 8));
  TGradStyleManager copy;
  copy.assign(&source);
  EXPECT_TRUE(copy.HotTrack());
  EXPECT_EQ(copy.FadeSpeed(), TFadeSpeed::fsSlow);
  EXPECT_EQ(copy.Colors()->OverFrom(), StyleColor(9, 9, 9));
  EXPECT_EQ(copy.SplitterColors()->DefaultTo(), StyleColor(8, 8, 8));
  TGradControlColors colors;
  EXPECT_THROW(copy.assign(&colors), std::runtime_error);
}

TEST(GradFadeTimer, IntervalsBySpeed) {
  EXPECT_EQ(fadeInterval(TFadeSpeed::fsSlow), 40);
  EXPECT_EQ(fadeInterval(TFadeSpeed::fsMedium), 20);
  EXPECT_EQ(fadeInterval(TFadeSpeed::fsFast), 12);
  EXPECT_EQ(fadeInterval(TFadeSpeed::fsVeryFast), 8);
}

TEST(GradCustomControl, BaseDefaults) {
  const TGradPanel panel;
  EXPECT_TRUE(panel.TabStop());
  EXPECT_TRUE(panel.TextShadow());
  EXPECT_TRUE(panel.ShowCaption());
  EXPECT_FALSE(panel.About().isEmpty());
  EXPECT_EQ(panel.size(), QSize(185, 105));
  EXPECT_EQ(panel.Color(), StyleColor(223, 223, 227));
  EXPECT_EQ(panel.fontColor(), StyleColor(0, 0, 206));
}

}  // namespace
}  // namespace wf
