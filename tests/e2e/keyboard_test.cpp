// The window's own keyboard handling with real keys through the program's loop: the focus
// order, the arrow keys among the choices, Enter in the field and elsewhere, Esc, and the focus
// coming back after another window had it.
#include "driver.h"
#include "main_window_ids.h"
#include "search_urls.h"
#include "steps.h"

namespace ulmora::e2e {
namespace {

std::string BaiduCommandLine(const std::string& query) {
  return "\"" + GetSettings().recorder + "\" \"" + ServiceChosenBy(kRadioBaidu).url(query) + "\"";
}

using Keyboard = UlmoraTest;

// Each step waits for the focus to arrive, so the order is the order of the keys.
TEST_F(Keyboard, TabAndShiftTabVisitEveryControlButTheLinkInNavigationOrder) {
  struct Cycle {
    const char* what;
    unsigned modifiers;
    std::vector<int> visits;
  };
  const Cycle cycles[] = {
      {"Tab", 0,
       {kSearchButton, kRadioBaidu, kRadioGoogle, kRadioTaobao, kRadioWanwang, kRadioBing,
        kQueryField}},
      {"Shift+Tab", kShift,
       {kRadioBing, kRadioWanwang, kRadioTaobao, kRadioGoogle, kRadioBaidu, kSearchButton,
        kQueryField}},
  };
  ASSERT_TRUE(BringToFront(window()));
  for (const Cycle& cycle : cycles) {
    SCOPED_TRACE(cycle.what);
    for (int id : cycle.visits) {
      PressKey(VK_TAB, cycle.modifiers);
      ASSERT_TRUE(WaitForFocus(control(id))) << "expected the " << ControlLabel(id);
      // Arriving on a choice with Tab checks nothing: Baidu stays the only one.
      EXPECT_EQ(CheckedRadios(ulmora_), std::vector<int>{kRadioBaidu}) << ControlLabel(id);
    }
  }
  EXPECT_TRUE(ReadRecords().empty());
}

// The arrow keys step through the choices in navigation order (not left to right on the screen),
// wrapping at both ends; the choice that gets the focus is the one checked.
TEST_F(Keyboard, ArrowKeysMoveTheCheckAndTheFocusAmongTheChoices) {
  struct Step {
    WORD key;
    int arrives;
  };
  const Step steps[] = {
      {VK_RIGHT, kRadioGoogle},  {VK_RIGHT, kRadioTaobao}, {VK_LEFT, kRadioGoogle},
      {VK_DOWN, kRadioTaobao},   {VK_DOWN, kRadioWanwang}, {VK_RIGHT, kRadioBing},
      {VK_RIGHT, kRadioBaidu},   {VK_LEFT, kRadioBing},    {VK_UP, kRadioWanwang},
  };
  ASSERT_TRUE(BringToFront(window()));
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  ASSERT_TRUE(WaitForFocus(control(kRadioBaidu)));
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    PressKey(steps[i].key);
    ASSERT_TRUE(WaitForFocus(control(steps[i].arrives))) << "expected the " << ControlLabel(steps[i].arrives);
    EXPECT_EQ(CheckedRadios(ulmora_), std::vector<int>{steps[i].arrives});
  }
}

// Enter with any modifiers, and the keypad's Enter, each search once with the field's current
// text; the field keeps its text and the focus.
TEST_F(Keyboard, EveryEnterInTheFieldSearchesAndLeavesTheFieldAsItWas) {
  struct Enter {
    const char* what;
    unsigned modifiers;
    bool keypad;
  };
  const Enter enters[] = {
      {"Enter", 0, false},           {"Ctrl+Enter", kCtrl, false},
      {"Shift+Enter", kShift, false}, {"Alt+Enter", kAlt, false},
      {"Ctrl+Shift+Alt+Enter", kCtrl | kShift | kAlt, false},
      {"keypad Enter", 0, true},
  };
  ASSERT_TRUE(BringToFront(window()));
  const HWND field = control(kQueryField);
  for (size_t i = 0; i < std::size(enters); ++i) {
    const Enter& enter = enters[i];
    SCOPED_TRACE(enter.what);
    const std::string query = std::string(" 回车 ") + enter.what + " ";
    SetText(field, query);
    PressKey(VK_RETURN, enter.modifiers, enter.keypad);
    const auto records = WaitForRecords(i + 1);
    ASSERT_TRUE(records) << "no search";
    EXPECT_EQ(Escaped(records->back().commandLine), Escaped(BaiduCommandLine(query)));
    EXPECT_EQ(Escaped(WindowText(field)), Escaped(query));
    EXPECT_EQ(GuiThreadInfo(window()).hwndFocus, field);
    EXPECT_EQ(GetForegroundWindow(), window());
  }
  ASSERT_TRUE(SettleInput(ulmora_, kQueryField));
  EXPECT_EQ(ReadRecords().size(), std::size(enters));
}

// Only the field's key-down runs a search: Enter on the button or a choice does not; the space
// bar presses the button, which does.
TEST_F(Keyboard, EnterOutsideTheFieldRunsNoSearchAndSpaceOnTheButtonRunsOne) {
  ASSERT_TRUE(BringToFront(window()));
  SetText(control(kQueryField), "空格");
  for (int id : {kSearchButton, kRadioBaidu}) {
    SCOPED_TRACE(ControlLabel(id));
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitForFocus(control(id)));
    PressKey(VK_RETURN);
    ASSERT_TRUE(SettleInput(ulmora_, id));
    EXPECT_TRUE(ReadRecords().empty());
  }
  PressKey(VK_TAB, kShift);
  ASSERT_TRUE(WaitForFocus(control(kSearchButton)));
  PressKey(VK_SPACE);
  ASSERT_TRUE(SettleInput(ulmora_, kSearchButton));
  const std::vector<Record> records = ReadRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(Escaped(records[0].commandLine), Escaped(BaiduCommandLine("空格")));
}

// Held down, Enter repeats: each auto-repeated key-down is a search of its own.
TEST_F(Keyboard, HeldEnterSearchesOncePerKeyDown) {
  constexpr int kKeyDowns = 6;
  ASSERT_TRUE(BringToFront(window()));
  SetText(control(kQueryField), "按住");
  HoldKey(VK_RETURN, kKeyDowns);
  ASSERT_TRUE(WaitForRecords(kKeyDowns));
  ASSERT_TRUE(SettleInput(ulmora_, kQueryField));
  const std::vector<Record> records = ReadRecords();
  EXPECT_EQ(records.size(), static_cast<size_t>(kKeyDowns));
  for (const Record& record : records) {
    EXPECT_EQ(Escaped(record.commandLine), Escaped(BaiduCommandLine("按住")));
  }
  EXPECT_EQ(Escaped(WindowText(control(kQueryField))), Escaped("按住"));
}

struct EscapeFrom {
  const char* name;
  int tabs;  // Tab presses from the field
  int control;
};
void PrintTo(const EscapeFrom& from, std::ostream* out) { *out << from.name; }

class EscapeTest : public UlmoraTest, public ::testing::WithParamInterface<EscapeFrom> {};

TEST_P(EscapeTest, ClosesTheWindowAndEndsTheProcessWithCodeZero) {
  ASSERT_TRUE(BringToFront(window()));
  for (int i = 0; i < GetParam().tabs; ++i) PressKey(VK_TAB);
  ASSERT_TRUE(WaitForFocus(control(GetParam().control)));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(process().WaitForExit(), 0u);
  EXPECT_FALSE(IsWindow(window()));
}

INSTANTIATE_TEST_SUITE_P(Keyboard, EscapeTest,
                         ::testing::Values(EscapeFrom{"QueryField", 0, kQueryField},
                                           EscapeFrom{"SearchButton", 1, kSearchButton},
                                           EscapeFrom{"UncheckedRadio", 3, kRadioGoogle}),
                         [](const auto& info) { return std::string(info.param.name); });

// Another program takes the activation; when the main window is active again, the focus is back
// on the control that had it.
TEST_F(Keyboard, FocusReturnsToItsControlAfterAnotherProgramWasActive) {
  // The other program is the desktop's (explorer.exe under Wine). Wine without a window manager:
  // a window of the driver's or of a second program takes the X focus, and a late X focus event
  // of its process takes the foreground back (or hands it to the desktop) after the main window
  // was made active again; the keys that follow then go astray. The desktop window has no X
  // window of its own, so activating it moves no X focus.
  const HWND other = GetDesktopWindow();
  ASSERT_TRUE(BringToFront(window()));
  // Tab presses from where the last row left the focus, and where they lead.
  const std::pair<int, int> rows[] = {{1, kSearchButton}, {3, kRadioTaobao}, {3, kQueryField}};
  for (const auto& [tabs, id] : rows) {
    SCOPED_TRACE(ControlLabel(id));
    for (int i = 0; i < tabs; ++i) PressKey(VK_TAB);
    ASSERT_TRUE(WaitForFocus(control(id)));
    ASSERT_TRUE(BringToFront(other));
    ASSERT_TRUE(WaitUntil([&] { return GuiThreadInfo(window()).hwndActive != window(); }));
    ASSERT_TRUE(BringToFront(window()));
    EXPECT_TRUE(WaitForFocus(control(id)));
    EXPECT_EQ(CheckedRadios(ulmora_), std::vector<int>{kRadioBaidu});
  }
}

}  // namespace
}  // namespace ulmora::e2e
