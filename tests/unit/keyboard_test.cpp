#include "ui/keyboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell_fixture.h"
#include "ui/main_window.h"
#include "ui/window.h"

namespace ulmora {
namespace {

const std::uint32_t kRadios[] = {kRadioBaidu, kRadioGoogle, kRadioBing, kRadioTaobao,
                                 kRadioWanwang};

class KeyboardTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    Start();
  }

  static std::uint32_t FocusedId() {
    const platform::Window f = stand_in::Get().focus;
    return f == nullptr || stand_in::Of(f).topLevel ? 0 : stand_in::Of(f).controlSpec.id;
  }

  // Puts one key-down into the loop for the focused control, then closes the window, and runs
  // the loop; returns whether the key reached the control.
  static bool Press(std::uint32_t key, std::uint32_t modifiers = 0, bool system = false) {
    stand_in::Get().heldModifiers = modifiers;
    stand_in::Get().dispatched.clear();
    stand_in::PostKey(stand_in::Get().focus, key, system);
    stand_in::PostAction([] {});  // marks the end of the key's processing
    for (;;) {
      platform::Message m;
      int code = 0;
      platform::TakeMessage(&m, &code);
      if (m.kind == platform::MessageKind::Other) break;
      LoadedWindow* w = FindWindowByNative(Main());
      const bool consumed = w != nullptr && PreTranslateKey(w, m);
      if (!consumed) stand_in::Get().dispatched.push_back(m);
    }
    stand_in::Get().heldModifiers = 0;
    return !stand_in::Get().dispatched.empty();
  }

  static std::uint32_t CheckedCount() {
    std::uint32_t n = 0;
    for (std::uint32_t id : kRadios) n += Fake(id).check == platform::CheckState::Checked;
    return n;
  }
};

TEST_F(KeyboardTest, NavigationOrderFollowsTabOrderThenReversedStoredOrder) {
  ControlState* order[16];
  const std::uint32_t n = NavigationOrder(*FindWindowByNative(Main()), false, 0, order, 16);
  std::vector<std::uint32_t> ids;
  for (std::uint32_t i = 0; i < n; ++i) ids.push_back(order[i]->description->identity);
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{kQueryField, kSearchButton, kRadioBaidu, kRadioGoogle,
                                             kRadioTaobao, kRadioWanwang, kRadioBing}));
}

TEST_F(KeyboardTest, TabAndShiftTabCycleThroughTheOrderAndChangeNoCheck) {
  const std::vector<std::uint32_t> cycle = {kSearchButton, kRadioBaidu,   kRadioGoogle, kRadioTaobao,
                                            kRadioWanwang, kRadioBing,    kQueryField};
  std::vector<std::uint32_t> forward;
  for (std::size_t i = 0; i < cycle.size(); ++i) {
    EXPECT_FALSE(Press(key::kTab));
    forward.push_back(FocusedId());
    EXPECT_EQ(Fake(kRadioBaidu).check, platform::CheckState::Checked);
    EXPECT_EQ(CheckedCount(), 1u);
  }
  EXPECT_EQ(forward, cycle);
  std::vector<std::uint32_t> backward;
  for (std::size_t i = 0; i < cycle.size(); ++i) {
    EXPECT_FALSE(Press(key::kTab, modifier::kShift));
    backward.push_back(FocusedId());
  }
  EXPECT_EQ(backward, (std::vector<std::uint32_t>{kRadioBing, kRadioWanwang, kRadioTaobao,
                                                  kRadioGoogle, kRadioBaidu, kSearchButton,
                                                  kQueryField}));
  EXPECT_TRUE(CallsStartingWith("SetFocusTo " + Hex(kHyperLinker)).empty());
  // Ctrl+Tab is not the window's: it goes on to the control.
  EXPECT_TRUE(Press(key::kTab, modifier::kCtrl));
}

TEST_F(KeyboardTest, ArrowKeysMoveTheCheckWithinTheRadioGroupAndWrap) {
  struct Case {
    std::uint32_t from;
    std::uint32_t key;
    std::uint32_t to;
  };
  const Case cases[] = {
      {kRadioGoogle, key::kRight, kRadioTaobao}, {kRadioGoogle, key::kDown, kRadioTaobao},
      {kRadioBing, key::kRight, kRadioBaidu},    {kRadioBaidu, key::kLeft, kRadioBing},
      {kRadioBaidu, key::kUp, kRadioBing},       {kRadioTaobao, key::kLeft, kRadioGoogle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex(c.from) + " key " + std::to_string(c.key));
    platform::SetFocusTo(Control(c.from));
    EXPECT_FALSE(Press(c.key));
    EXPECT_EQ(FocusedId(), c.to);
    EXPECT_EQ(Fake(c.to).check, platform::CheckState::Checked);
    EXPECT_EQ(CheckedCount(), 1u);
  }
}

TEST_F(KeyboardTest, ArrowKeysGoOnInOtherControls) {
  for (std::uint32_t k : {key::kLeft, key::kRight, key::kUp, key::kDown}) {
    EXPECT_TRUE(Press(k));
    EXPECT_EQ(FocusedId(), kQueryField);
  }
  platform::SetFocusTo(Control(kRadioGoogle));
  EXPECT_TRUE(Press(key::kRight, modifier::kShift));  // only without modifiers
  EXPECT_EQ(FocusedId(), kRadioGoogle);
}

TEST_F(KeyboardTest, EnterInTheFieldSearchesWithAnyModifierAndGoesOnToTheField) {
  for (std::uint32_t modifiers : {0u, 1u, 2u, 4u, 3u, 7u}) {
    const bool system = (modifiers & modifier::kAlt) != 0;
    EXPECT_TRUE(Press(key::kEnter, modifiers, system)) << modifiers;
  }
  EXPECT_EQ(stand_in::Get().shellOpens.size(), 6u);
  EXPECT_EQ(FocusedId(), kQueryField);
}

TEST_F(KeyboardTest, EnterElsewhereRunsNoSearch) {
  for (std::uint32_t id : {kSearchButton, kRadioBaidu, kRadioWanwang}) {
    platform::SetFocusTo(Control(id));
    EXPECT_TRUE(Press(key::kEnter));
  }
  EXPECT_TRUE(stand_in::Get().shellOpens.empty());
}

TEST_F(KeyboardTest, EscClosesTheWindowFromEveryControl) {
  for (std::uint32_t id : {kQueryField, kSearchButton, kRadioBing}) {
    SCOPED_TRACE(Hex(id));
    SetUp();
    platform::SetFocusTo(Control(id));
    EXPECT_FALSE(Press(key::kEscape));
    EXPECT_EQ(stand_in::MainTopLevel(), nullptr);
    TearDown();
  }
}

TEST_F(KeyboardTest, FocusReturnsToTheControlThatHadItWhenTheWindowIsActivatedAgain) {
  platform::SetFocusTo(Control(kRadioTaobao));
  stand_in::Deactivate(Main());
  EXPECT_EQ(stand_in::Get().focus, nullptr);
  stand_in::Activate(Main());
  EXPECT_EQ(FocusedId(), kRadioTaobao);
  // With nothing remembered the first control in navigation order gets it.
  stand_in::Get().focus = Main();
  stand_in::Deactivate(Main());
  stand_in::Activate(Main());
  EXPECT_EQ(FocusedId(), kQueryField);
}

TEST_F(KeyboardTest, DisabledControlsAreNotHandledAndLeaveTheOrder) {
  stand_in::Of(Control(kSearchButton)).enabled = false;
  EXPECT_FALSE(Press(key::kTab));
  EXPECT_EQ(FocusedId(), kRadioBaidu);
  platform::SetFocusTo(Control(kSearchButton));
  EXPECT_TRUE(Press(key::kEscape));  // a disabled target's keys are left alone
  EXPECT_NE(stand_in::MainTopLevel(), nullptr);
}

TEST(KeyMappingTest, KeyCodesAndModifiers) {
  const std::pair<std::uint32_t, std::int32_t> codes[] = {
      {0x0D, 13},  {0x60, 48},  {0x69, 57},  {0x6D, 189}, {0x6E, 190}, {0x6F, 191},
      {0x6A, 0x6A}, {0x6B, 0x6B}, {0x41, 65}, {0xBD, 189}, {0x10D, 13}, {0x30, 48},
  };
  for (const auto& [parameter, code] : codes) EXPECT_EQ(EventKeyCode(parameter), code) << parameter;

  struct Case {
    std::uint32_t key;
    std::uint32_t held;
    std::uint32_t modifiers;
  };
  const Case cases[] = {
      {0x0D, 7, 7}, {0x11, 1, 0}, {0xA2, 3, 2}, {0xA3, 1, 0}, {0x10, 3, 1},
      {0xA0, 2, 0}, {0xA1, 6, 4}, {0x12, 4, 0}, {0xA4, 5, 1}, {0xA5, 4, 0}, {0x41, 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(EventModifiers(c.key, c.held), c.modifiers) << c.key;
}

// The key-down handler's result decides whether the field still gets the key.
std::int32_t returned = 0;
bool returnsValue = false;
std::vector<std::int32_t> seen;
HandlerResult Scripted(const EventArgs& args) {
  seen.push_back(args.values[0]);
  seen.push_back(args.values[1]);
  return {returnsValue, returned};
}
HandlerResult Ignore(const EventArgs&) { return {false, 0}; }
const ProgramRoutine kScripted[] = {{HandlerId::SearchButtonClicked, &Ignore},
                                    {HandlerId::QueryKeyPressed, &Scripted}};
const WindowDescription* const kWindows[] = {&MainWindow};

TEST_F(KeyboardTest, TheKeyIsWithheldOnlyWhenTheHandlerReturnsZero) {
  TearDown();
  ShellFixture::SetUp();
  Start({kWindows, 1, kScripted, 2, nullptr, nullptr, kMainWindowId});
  struct Case {
    bool hasValue;
    std::int32_t value;
    bool goesOn;
  };
  for (const Case c : {Case{false, 0, true}, Case{true, 1, true}, Case{true, -1, true},
                       Case{true, 0, false}}) {
    returnsValue = c.hasValue;
    returned = c.value;
    seen.clear();
    EXPECT_EQ(Press(0x62, modifier::kShift), c.goesOn);  // keypad 2 with Shift
    EXPECT_EQ(seen, (std::vector<std::int32_t>{50, 2}));
  }
  // While events are suppressed the key finds no handler and goes on.
  RaiseEventSuppression();
  seen.clear();
  returnsValue = true;
  EXPECT_TRUE(Press(0x41));
  EXPECT_TRUE(seen.empty());
  LowerEventSuppression();
}

}  // namespace
}  // namespace ulmora
