// Real mouse clicks on the service choices, through the program's own message loop.
#include "driver.h"
#include "main_window_ids.h"

namespace ulmora::e2e {
namespace {

struct RadioClick {
  const char* where;
  POINT client;  // in the main window's client coordinates
  int checked;   // the one radio button checked afterwards
};
void PrintTo(const RadioClick& click, std::ostream* out) { *out << click.where; }

class RadioClickTest : public UlmoraTest, public ::testing::WithParamInterface<RadioClick> {};

TEST_P(RadioClickTest, ChecksTheClickedChoiceAndUnchecksTheOthers) {
  ASSERT_TRUE(BringToFront(window()));
  ClickInClient(window(), GetParam().client);
  const HWND expected = control(GetParam().checked);
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(expected); }));
  for (int id : kRadios) {
    SCOPED_TRACE(ControlLabel(id));
    EXPECT_EQ(IsChecked(control(id)), id == GetParam().checked);
  }
}

// 单选框5 (x 235..283, y 51..73) overlaps 单选框4 (x 183..236, y 54..69) in the strip
// x 235..236, y 54..69, and lies above it.
INSTANTIATE_TEST_SUITE_P(
    MainWindow, RadioClickTest,
    ::testing::Values(RadioClick{"WanwangMiddle", {259, 62}, kRadioWanwang},
                      RadioClick{"OverlapTopLeft", {235, 54}, kRadioWanwang},
                      RadioClick{"OverlapBottomRight", {236, 69}, kRadioWanwang},
                      RadioClick{"TaobaoBesideTheOverlap", {234, 61}, kRadioTaobao}),
    [](const auto& info) { return std::string(info.param.where); });

}  // namespace
}  // namespace ulmora::e2e
