// The main window as the user first sees it: placement, frame, owner, the eight controls, the
// initial check and focus.
#include "driver.h"
#include "main_window_ids.h"

namespace ulmora::e2e {
namespace {

using MainWindowPlacement = UlmoraTest;

TEST_F(MainWindowPlacement, CentredOnThePrimaryScreenWithItsOuterSize) {
  struct Placement {
    SIZE screen;
    POINT topLeft;
  };
  const Placement placements[] = {{{1024, 768}, {324, 333}}, {{1920, 1080}, {772, 489}}};
  const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  ASSERT_EQ(screen.cx, GetSettings().screen.cx);
  ASSERT_EQ(screen.cy, GetSettings().screen.cy);
  const Placement* placement = nullptr;
  for (const Placement& p : placements) {
    if (p.screen.cx == screen.cx && p.screen.cy == screen.cy) placement = &p;
  }
  ASSERT_NE(placement, nullptr) << "no expected placement for a screen of " << screen.cx << "x"
                                << screen.cy;
  const POINT at = placement->topLeft;
  EXPECT_EQ(WindowRect(window()), (RECT{at.x, at.y, at.x + 375, at.y + 102}));
}

using MainWindow = UlmoraTest;

TEST_F(MainWindow, HasAFixedFrameWithTitleAndSystemMenuOnly) {
  EXPECT_EQ(ClassName(window()), "UlmoraWindow");
  EXPECT_EQ(WindowText(window()), "   Ulmora");
  const LONG_PTR style = Style(window());
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(ExStyle(window()) & (WS_EX_APPWINDOW | WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
}

TEST_F(MainWindow, IsOwnedByAHiddenToolWindowSoItHasNoTaskBarButton) {
  const HWND owner = GetWindow(window(), GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(ClassName(owner), "UlmoraToolWindow");
  EXPECT_TRUE(ExStyle(owner) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(IsWindowVisible(owner));
  DWORD ownerProcess = 0;
  GetWindowThreadProcessId(owner, &ownerProcess);
  EXPECT_EQ(ownerProcess, process().id());
  EXPECT_EQ(GetAncestor(window(), GA_PARENT), GetDesktopWindow());
}

struct ExpectedControl {
  int id;
  const char* className;
  RECT rect;  // outer rectangle in the window's client coordinates
  const char* caption;
};

// Top of the stacking order first: the stored order of the window description.
const ExpectedControl kControls[] = {
    {kRadioBing, "Button", {127, 50, 176, 73}, "必应"},
    {kHyperLinker, "UlmoraHyperLinker", {416, 280, 440, 296}, ""},
    {kRadioWanwang, "Button", {235, 51, 284, 74}, "万网"},
    {kRadioTaobao, "Button", {183, 54, 237, 70}, "淘宝"},
    {kRadioGoogle, "Button", {72, 54, 122, 70}, "谷歌"},
    {kRadioBaidu, "Button", {20, 54, 64, 70}, "百度"},
    {kSearchButton, "Button", {296, 13, 350, 67}, "搜"},
    {kQueryField, "Edit", {22, 13, 279, 40}, ""},
};

TEST_F(MainWindow, StacksItsEightChildrenInStoredOrder) {
  std::vector<std::string> stacking;
  for (HWND child : ChildrenTopToBottom(window())) stacking.push_back(ControlLabel(GetDlgCtrlID(child)));
  std::vector<std::string> expected;
  for (const ExpectedControl& c : kControls) expected.push_back(ControlLabel(c.id));
  EXPECT_EQ(stacking, expected);
}

TEST_F(MainWindow, ChildrenHaveTheirClassRectangleAndCaptionBytes) {
  for (const ExpectedControl& c : kControls) {
    SCOPED_TRACE(ControlLabel(c.id));
    const HWND child = control(c.id);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(ClassName(child), c.className);
    EXPECT_EQ(RectInParentClient(child), c.rect);
    EXPECT_EQ(Escaped(WindowText(child)), Escaped(c.caption));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(IsWindowEnabled(child));
  }
}

TEST_F(MainWindow, StartsWithBaiduAloneCheckedAndTheEmptyQueryFieldFocused) {
  for (int id : kRadios) {
    SCOPED_TRACE(ControlLabel(id));
    EXPECT_EQ(IsChecked(control(id)), id == kRadioBaidu);
  }
  const GUITHREADINFO gui = GuiThreadInfo(window());
  EXPECT_EQ(gui.hwndActive, window());
  EXPECT_EQ(gui.hwndFocus, control(kQueryField));
  EXPECT_EQ(WindowText(control(kQueryField)), "");
}

TEST_F(MainWindow, KeepsTheLinkControlOutsideItsClientArea) {
  const RECT client = ClientRect(window());
  const RECT link = RectInParentClient(control(kHyperLinker));
  RECT overlap;
  EXPECT_FALSE(IntersectRect(&overlap, &client, &link)) << "client " << client << ", link " << link;
}

// A picture of the window for people to look at (kept under the build folder).
using MainWindowPicture = UlmoraTest;

TEST_F(MainWindowPicture, IsSavedAsAnArtefact) {
  ASSERT_TRUE(BringToFront(window()));
  WaitForInputIdle(process().handle(), 2000);
  // Wine: the pixels of a paint reach the X server a little after the program's loop is idle
  // again; without a pause the picture may miss the controls.
  Sleep(300);
  const SIZE screen = GetSettings().screen;
  const std::string name = screen.cx == 1024 && screen.cy == 768
                               ? "ulmora.png"
                               : "ulmora-" + std::to_string(screen.cx) + "x" +
                                     std::to_string(screen.cy) + ".png";
  const auto path = SaveScreenshot(name);
  ASSERT_TRUE(path);
  std::cout << "[ screenshot ] " << *path << "\n";
}

}  // namespace
}  // namespace ulmora::e2e
