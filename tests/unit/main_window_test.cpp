#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell_fixture.h"
#include "ui/main_window.h"
#include "ui/settings.h"
#include "ui/window.h"

namespace ulmora {
namespace {

using ::platform::ControlClass;

class MainWindowTest : public ShellFixture {};

// Stored order, top of the stack first.
const std::uint32_t kStoredOrder[] = {kRadioBing,   kHyperLinker, kRadioWanwang, kRadioTaobao,
                                      kRadioGoogle, kRadioBaidu,  kSearchButton, kQueryField};

TEST_F(MainWindowTest, IsCentredWhateverItsStoredPosition) {
  struct Case {
    int width, height, left, top;
  };
  for (const Case c : {Case{1024, 768, 324, 333}, Case{1920, 1080, 772, 489}, Case{375, 102, 0, 0},
                       Case{800, 601, 212, 249}}) {
    SetUp();
    stand_in::Get().screen = {c.width, c.height};
    Start();
    const platform::Rect outer = stand_in::Of(Main()).outer;
    EXPECT_EQ(outer.left, c.left);
    EXPECT_EQ(outer.top, c.top);
    EXPECT_EQ(outer.width, 375);
    EXPECT_EQ(outer.height, 102);
    TearDown();
  }
}

TEST_F(MainWindowTest, IsSetAgainToItsSizeWhenTheCreatedOneDiffers) {
  stand_in::Get().createdSizeDelta = 8;
  Start();
  EXPECT_EQ(CallsStartingWith("SetOuterRect").size(), 1u);
  EXPECT_EQ(stand_in::Of(Main()).outer.width, 375);
  EXPECT_EQ(stand_in::Of(Main()).outer.height, 102);
}

TEST_F(MainWindowTest, HasAFixedFrameWithCloseBoxAndIsOwnedByTheToolWindow) {
  Start();
  const stand_in::FakeWindow& w = stand_in::Of(Main());
  EXPECT_STREQ(w.topSpec.title, "   Ulmora");
  EXPECT_TRUE(w.topSpec.titleBar);
  EXPECT_TRUE(w.topSpec.systemMenu);
  EXPECT_FALSE(w.topSpec.minimizeBox);
  EXPECT_FALSE(w.topSpec.maximizeBox);
  EXPECT_FALSE(w.topSpec.sizingBorder);
  EXPECT_FALSE(w.topSpec.topmost);
  EXPECT_EQ(w.topSpec.backColor, platform::kSystemButtonFace);
  ASSERT_NE(w.owner, nullptr);
  EXPECT_TRUE(stand_in::Of(w.owner).toolWindow);
  EXPECT_TRUE(w.icon);
  EXPECT_TRUE(w.visible);
}

TEST_F(MainWindowTest, ControlsAreCreatedLastFirstAndStackedInStoredOrder) {
  Start();
  std::vector<std::string> created;
  for (std::size_t i = std::size(kStoredOrder); i > 0; --i) {
    created.push_back("CreateControl " + Hex(kStoredOrder[i - 1]));
  }
  EXPECT_EQ(CallsStartingWith("CreateControl"), created);
  std::vector<std::uint32_t> stacked;
  for (platform::Window child : stand_in::Of(Main()).children) {
    stacked.push_back(stand_in::Of(child).controlSpec.id);
  }
  EXPECT_EQ(stacked, std::vector<std::uint32_t>(std::begin(kStoredOrder), std::end(kStoredOrder)));
}

TEST_F(MainWindowTest, EachControlIsBuiltFromItsDescription) {
  Start();
  struct Case {
    std::uint32_t id;
    ControlClass cls;
    platform::Rect rect;
    const char* text;
    int fontHeight;  // 0: no font of its own
    bool checked;
    bool tabStop;
  };
  const Case cases[] = {
      {kQueryField, ControlClass::Edit, {22, 13, 257, 27}, "", 16, false, true},
      {kSearchButton, ControlClass::PushButton, {296, 13, 54, 54}, "搜", 21, false, true},
      {kRadioBaidu, ControlClass::RadioButton, {20, 54, 44, 16}, "百度", 12, true, true},
      {kRadioGoogle, ControlClass::RadioButton, {72, 54, 50, 16}, "谷歌", 12, false, true},
      {kRadioBing, ControlClass::RadioButton, {127, 50, 49, 23}, "必应", 12, false, true},
      {kRadioTaobao, ControlClass::RadioButton, {183, 54, 54, 16}, "淘宝", 12, false, true},
      {kRadioWanwang, ControlClass::RadioButton, {235, 51, 49, 23}, "万网", 12, false, true},
      {kHyperLinker, ControlClass::HyperLinker, {416, 280, 24, 16}, "", 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex(c.id));
    const stand_in::FakeWindow& w = Fake(c.id);
    EXPECT_EQ(w.controlSpec.controlClass, c.cls);
    EXPECT_EQ(w.controlSpec.rect.left, c.rect.left);
    EXPECT_EQ(w.controlSpec.rect.top, c.rect.top);
    EXPECT_EQ(w.controlSpec.rect.width, c.rect.width);
    EXPECT_EQ(w.controlSpec.rect.height, c.rect.height);
    EXPECT_EQ(w.text, c.text);
    EXPECT_EQ(w.check == platform::CheckState::Checked, c.checked);
    EXPECT_EQ(w.controlSpec.tabStop, c.tabStop);
    EXPECT_TRUE(w.visible);
    EXPECT_FALSE(w.controlSpec.defaultButton);
    if (c.fontHeight == 0) {
      EXPECT_EQ(w.font, nullptr);
      continue;
    }
    ASSERT_NE(w.font, nullptr);
    const stand_in::FakeFont& font =
        stand_in::Get().fonts[reinterpret_cast<std::uintptr_t>(w.font) - 1];
    const platform::FontSpec& f = font.params;
    EXPECT_EQ(font.face, "微软雅黑");
    EXPECT_EQ(f.charHeight, c.fontHeight);
    EXPECT_EQ(f.weight, 400);
    EXPECT_FALSE(f.italic || f.underline || f.strikeOut);
  }
  const auto& edit = Fake(kQueryField).controlSpec;
  EXPECT_TRUE(edit.clientEdge);
  EXPECT_TRUE(edit.hideSelection);
  EXPECT_FALSE(edit.multiline || edit.readOnly || edit.password);
  EXPECT_EQ(edit.maxLength, 0u);
  EXPECT_EQ(edit.backColor, 0xFFFFFFu);
  EXPECT_EQ(Fake(kRadioBaidu).controlSpec.backColor, platform::kSystemButtonFace);
  EXPECT_FALSE(Fake(kRadioBaidu).controlSpec.textOnLeft);
  EXPECT_EQ(Fake(kSearchButton).controlSpec.hAlign, platform::HAlign::Center);
  EXPECT_EQ(Fake(kSearchButton).controlSpec.vAlign, platform::VAlign::Center);
}

TEST_F(MainWindowTest, TheQueryFieldHasTheFocusWhenTheWindowIsFirstShown) {
  Start();
  EXPECT_EQ(stand_in::Get().focus, Control(kQueryField));
}

TEST_F(MainWindowTest, AClickOnARadioBoxLeavesOnlyItChecked) {
  Start();
  stand_in::Click(Control(kRadioWanwang));
  for (std::uint32_t id : {kRadioBaidu, kRadioGoogle, kRadioBing, kRadioTaobao, kRadioWanwang}) {
    EXPECT_EQ(ReadNumberSetting(kMainWindowId, id, setting::kRadioChecked),
              id == kRadioWanwang ? 1 : 0);
  }
}

TEST_F(MainWindowTest, ControlsWithEqualFontSettingsShareOneFont) {
  Start();
  EXPECT_EQ(stand_in::Get().fonts.size(), 3u);  // heights 16, 21 and 12
  EXPECT_EQ(Fake(kRadioBaidu).font, Fake(kRadioWanwang).font);
  EXPECT_NE(Fake(kRadioBaidu).font, Fake(kQueryField).font);
  platform::RequestClose(Main());
  EXPECT_EQ(stand_in::LiveFonts(), 0u);  // each destroyed once (the stand-in aborts otherwise)
}

TEST_F(MainWindowTest, FontsThatCannotBeMadeLeaveTheDefaultFont) {
  stand_in::Get().failFonts = true;
  Start();
  EXPECT_EQ(Fake(kQueryField).font, nullptr);
  EXPECT_NE(Main(), nullptr);
}

TEST_F(MainWindowTest, ClosingDestroysTheWindowAndAsksTheLoopToQuitOnce) {
  Start();
  stand_in::PostAction([] { platform::RequestClose(Main()); });
  RunEventLoop();
  EXPECT_EQ(stand_in::MainTopLevel(), nullptr);
  EXPECT_EQ(stand_in::Get().quitRequests, 1);
  EXPECT_FALSE(AnyWindowOpen());
}

}  // namespace
}  // namespace ulmora
