// The fatal error report on the real platform, through the test-only programs in probes/: the
// box, its exact bytes, what the program does while it is shown, and the exit code after it.
#include "driver.h"
#include "main_window_ids.h"
#include "steps.h"

namespace ulmora::e2e {
namespace {

// A probe copied into a folder of its own, with no trace from an earlier run.
struct Probe {
  std::string folder;
  std::string path;
  std::vector<std::string> Trace() const { return ReadLines(folder + "\\probe.log"); }
};

std::optional<Probe> InstallProbe(const std::string& helper, const std::string& folderName) {
  Probe probe{"C:\\e2e\\" + folderName, {}};
  DeleteFileA((probe.folder + "\\probe.log").c_str());
  const auto path = InstallCopy(HelperProgram(helper), probe.folder, helper + ".exe");
  if (!path) return std::nullopt;
  probe.path = *path;
  return probe;
}

std::string BoxText(const std::string& message) {
  return "运行时出错!\r\n\r\n错误信息：" + message + "\r\n";
}

// A visible main window of the process, if any, right now.
HWND VisibleMainWindow(DWORD processId) {
  return WaitForTopLevelWindow(processId, "UlmoraWindow", Milliseconds(0));
}

std::vector<HWND> ButtonsOf(HWND box) {
  std::vector<HWND> buttons;
  for (HWND child : ChildrenTopToBottom(box)) {
    if (ClassName(child) == "Button") buttons.push_back(child);
  }
  return buttons;
}

struct StartFailure {
  const char* what;
  const char* helper;
  const char* arguments;
  std::string message;
};

// Conditions met before any window is up: the box comes with no window behind it, the exit
// routine does not run, and the process ends with -1.
TEST(FatalReport, BeforeTheWindowShowsTheBoxAndEndsWithMinusOne) {
  const StartFailure failures[] = {
      {"the start window is not in the program's data", "SHELL_PROBE", "unknown-start-window",
       "载入启动窗口失败"},
      {"no stored window data", "SHELL_PROBE", "unreadable-data", "载入窗口模板数据段出错!"},
      {"1024 bytes refused by the text heap", "HEAP_PROBE", "", "分配 1024 字节内存失败!"},
  };
  for (const StartFailure& failure : failures) {
    SCOPED_TRACE(failure.what);
    const auto probe = InstallProbe(failure.helper, "fatal-start");
    ASSERT_TRUE(probe) << failure.helper << " was not given to the harness";
    Process process = Process::Start("\"" + probe->path + "\" " + failure.arguments);
    ASSERT_TRUE(process.started());
    const HWND box = WaitForMessageBox(process.id());
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(Escaped(WindowText(box)), Escaped("错误"));
    EXPECT_EQ(Escaped(MessageBoxText(box)), Escaped(BoxText(failure.message)));
    const std::vector<HWND> buttons = ButtonsOf(box);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(GetDlgCtrlID(buttons[0]), IDOK);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(VisibleMainWindow(process.id()), nullptr);
    EXPECT_TRUE(process.Running());
    DismissMessageBox(box);
    EXPECT_EQ(process.WaitForExit(), 0xFFFFFFFFu);
    EXPECT_TRUE(probe->Trace().empty()) << "the exit routine ran: " << probe->Trace().size();
  }
}

class TracedProbe : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto probe = InstallProbe("SHELL_PROBE", "traced");
    ASSERT_TRUE(probe) << "SHELL_PROBE was not given to the harness";
    probe_ = *probe;
    ulmora_.process = Process::Start("\"" + probe_.path + "\" traced");
    ASSERT_TRUE(ulmora_.process.started());
    ulmora_.window = WaitForTopLevelWindow(ulmora_.process.id(), "UlmoraWindow");
    ASSERT_NE(ulmora_.window, nullptr);
    ASSERT_TRUE(BringToFront(ulmora_.window));
  }

  HWND control(int id) const { return ulmora_.control(id); }

  Probe probe_;
  Ulmora ulmora_;
};

// While the box is up the main window still takes clicks and keys, but no handler runs; the
// exit routine does not run either, and the process ends with -1 once the box is dismissed.
TEST_F(TracedProbe, WhileTheFatalBoxIsShownNoHandlerRuns) {
  // The traces work: a click and an Enter before the failure.
  ClickControl(control(kSearchButton));
  ClickControl(control(kQueryField));
  ASSERT_TRUE(WaitForFocus(control(kQueryField)));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return probe_.Trace().size() >= 2; }));
  const std::vector<std::string> before = {"click button", "key 13 0"};
  ASSERT_EQ(probe_.Trace(), before);

  PressKey(VK_F9);
  const HWND box = WaitForMessageBox(ulmora_.process.id());
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(Escaped(MessageBoxText(box)), Escaped(BoxText("探针：F9 键")));
  const std::vector<std::string> traced = probe_.Trace();
  EXPECT_EQ(traced.back(), "key 120 0");

  // The box may stand over the window: it goes to the screen's corner first.
  SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(IsWindowEnabled(ulmora_.window));
  const RECT button = WindowRect(control(kSearchButton));
  const POINT middle = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
  ASSERT_EQ(WindowFromPoint(middle), control(kSearchButton));
  ClickAt(middle);
  ASSERT_TRUE(WaitForFocus(control(kSearchButton))) << "the click did not reach the button";
  ClickControl(control(kQueryField));
  ASSERT_TRUE(WaitForFocus(control(kQueryField)));
  PressKey(VK_RETURN);
  // Handled once this click has moved the focus: the Enter before it went through first.
  ClickAt(middle);
  ASSERT_TRUE(WaitForFocus(control(kSearchButton)));
  EXPECT_EQ(probe_.Trace(), traced);
  EXPECT_TRUE(ulmora_.process.Running());

  DismissMessageBox(box);
  EXPECT_EQ(ulmora_.process.WaitForExit(), 0xFFFFFFFFu);
  EXPECT_EQ(probe_.Trace(), traced) << "no exit routine on the fatal path";
}

// A normal end runs the exit routine once, though the shutdown runs twice.
TEST_F(TracedProbe, ANormalCloseRunsTheExitRoutineOnce) {
  PressKey(VK_ESCAPE);
  EXPECT_EQ(ulmora_.process.WaitForExit(), 0u);
  EXPECT_EQ(probe_.Trace(), std::vector<std::string>{"exit"});
}

// Tab and Shift+Tab onto the choices raise no click event and check nothing; the arrow keys do
// raise one, for the choice they move to.
TEST_F(TracedProbe, TabOntoAChoiceRaisesNoEventAndAnArrowKeyRaisesOne) {
  for (unsigned modifiers : {0u, static_cast<unsigned>(kShift)}) {
    for (int i = 0; i < 7; ++i) {
      const HWND focus = GuiThreadInfo(ulmora_.window).hwndFocus;
      PressKey(VK_TAB, modifiers);
      ASSERT_TRUE(WaitForFocus(
          control(NextInTabOrder(GetDlgCtrlID(focus), modifiers == 0))));
      EXPECT_EQ(CheckedRadios(ulmora_), std::vector<int>{kRadioBaidu});
    }
  }
  PressKey(VK_TAB, kShift);
  ASSERT_TRUE(WaitForFocus(control(kRadioBing)));
  PressKey(VK_RIGHT);
  ASSERT_TRUE(WaitForFocus(control(kRadioBaidu)));
  // The only key-down that reached the field is Shift's, when Shift+Tab began there.
  const std::vector<std::string> expected = {"key 16 0", "key 16 0", "click radio 16010004"};
  EXPECT_EQ(probe_.Trace(), expected);
}

}  // namespace
}  // namespace ulmora::e2e
