#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell.h"
#include "search/search_command.h"
#include "shell_fixture.h"
#include "ui/main_window.h"

namespace ulmora {
namespace {

int initCalls = 0;
int exitCalls = 0;
int clicks = 0;
void CountInit() { ++initCalls; }
void CountExit() {
  ++exitCalls;
  stand_in::Get().calls.push_back("ProgramExit");
}
HandlerResult CountClick(const EventArgs&) {
  ++clicks;
  return {false, 0};
}
HandlerResult NoValue(const EventArgs&) { return {false, 0}; }

const ProgramRoutine kCountingRoutines[] = {
    {HandlerId::SearchButtonClicked, &CountClick},
    {HandlerId::QueryKeyPressed, &NoValue},
};
const WindowDescription* const kWindows[] = {&MainWindow};

ProgramData Counting() {
  return {kWindows, 1, kCountingRoutines, 2, &CountInit, &CountExit, kMainWindowId};
}

class ShellTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    initCalls = exitCalls = clicks = 0;
  }
};

TEST_F(ShellTest, StartUpRunsItsStepsInOrderAndEndsWithCodeZeroWhenTheWindowCloses) {
  stand_in::PostAction([] { platform::RequestClose(Main()); });
  EXPECT_EQ(RunProgram(Counting()), 0);
  EXPECT_EQ(QuitCode(), 0);
  EXPECT_EQ(initCalls, 1);
  const std::vector<std::string> expected = {
      "StartComponentServices", "SetWorkingDirectory", "CreateHiddenToolWindow",
      "CreateTopLevel", "ShowTopLevel", "RequestClose", "DestroyNativeWindow window",
      "PostQuitRequest"};
  std::vector<std::string> seen;
  for (const std::string& c : stand_in::Get().calls) {
    for (const std::string& e : expected) {
      if (c == e) seen.push_back(c);
    }
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(exitCalls, 0);  // the exit routine runs in ShutDown, after the loop

  ShutDown();
  ShutDown();  // the second call finds nothing left to do
  EXPECT_EQ(exitCalls, 1);
  EXPECT_EQ(stand_in::Get().componentServicesStopped, 1);
  EXPECT_EQ(CallsStartingWith("DestroyNativeWindow").size(), 2u);  // main, then the tool window
  EXPECT_EQ(EventSuppression(), 2u);
}

TEST_F(ShellTest, ShutDownReleasesTheWindowsBeforeTheExitRoutineAndComponentServicesLast) {
  Start(Counting());
  RegisterExitRoutine(&CountExit);
  platform::RequestClose(Main());
  stand_in::Get().calls.clear();
  ShutDown();
  const auto& calls = stand_in::Get().calls;

  const auto at = [&](const std::string& name) {
    return std::find(calls.begin(), calls.end(), name) - calls.begin();
  };
  EXPECT_LT(at("free"), at("ProgramExit"));
  EXPECT_LT(at("ProgramExit"), at("DestroyNativeWindow window"));  // the tool window
  EXPECT_LT(at("DestroyNativeWindow window"), at("StopComponentServices"));
}

TEST_F(ShellTest, TheLoopIsSkippedWhenNoWindowIsOpen) {
  Start(Counting());
  platform::DestroyNativeWindow(Main());
  EXPECT_EQ(stand_in::Get().quitRequests, 0);  // the loop was not entered yet
  RunEventLoop();  // returns at once: the stand-in would throw if the loop waited
  EXPECT_EQ(QuitCode(), 0);
}

TEST_F(ShellTest, FatalErrorsAtStartUpShowTheirTextAndSkipTheExitRoutine) {
  const ProgramRoutine onlyClick[] = {{HandlerId::SearchButtonClicked, &CountClick}};
  struct Case {
    const char* name;
    ProgramData program;
    const char* message;
    bool windowCreated;
  };
  const Case cases[] = {
      {"no stored data", {nullptr, 0, kCountingRoutines, 2, &CountInit, &CountExit, kMainWindowId},
       "载入窗口模板数据段出错!", false},
      {"a binding without a routine",
       {kWindows, 1, onlyClick, 1, &CountInit, &CountExit, kMainWindowId},
       "载入窗口模板数据段出错!", false},
      {"no start window", {kWindows, 1, kCountingRoutines, 2, &CountInit, &CountExit, 0x52019999},
       "载入启动窗口失败", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    EXPECT_EQ(ExitCodeOf([&] { RunProgram(c.program); }), -1);
    EXPECT_EQ(LastBoxText(), FatalText(c.message));
    EXPECT_EQ(stand_in::Get().errorBoxes.back().caption, "错误");
    EXPECT_EQ(exitCalls, 0);
    EXPECT_EQ(CallsStartingWith("CreateTopLevel").size(), c.windowCreated ? 1u : 0u);
    EXPECT_EQ(stand_in::Get().componentServicesStopped, 1);  // ShutDown ran
    TearDown();
  }
}

TEST_F(ShellTest, AWindowThatCannotBeBuiltLeavesNothingBehind) {
  for (int failAt : {0, 1, 4, 8}) {  // 0: the top-level window itself
    SCOPED_TRACE(failAt);
    SetUp();
    if (failAt == 0) stand_in::Get().failTopLevel = true;
    stand_in::Get().failControlAt = failAt;
    EXPECT_EQ(ExitCodeOf([&] { Start(Counting()); }), -1);
    EXPECT_EQ(LastBoxText(), FatalText("载入启动窗口失败"));
    EXPECT_EQ(stand_in::MainTopLevel(), nullptr);
    EXPECT_EQ(stand_in::LiveFonts(), 0u);
    EXPECT_EQ(EventSuppression(), 2u);  // the build's raise was lowered again
    TearDown();
  }
}

TEST_F(ShellTest, AFatalErrorWhileRunningClearsTheExitRoutineAndStopsEveryEvent) {
  Start(Counting());
  RegisterExitRoutine(&CountExit);
  stand_in::Click(Control(kSearchButton));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(ExitCodeOf([] { ReportFatalError("x"); }), -1);
  EXPECT_GT(stand_in::Get().errorBoxes.back().suppressionWhileShown, 0u);
  EXPECT_EQ(exitCalls, 0);
  EXPECT_EQ(stand_in::MainTopLevel(), nullptr);  // shut down: released and destroyed
}

TEST_F(ShellTest, EventsAreSuppressedWhileTheWindowIsBuiltAndAfterShutDown) {
  std::vector<platform::Window> created;
  stand_in::Get().onControlCreated = [&](platform::Window control) {
    created.push_back(control);
    // A click reported by a control of the window being built reaches no handler.
    for (platform::Window c : created) {
      if (stand_in::Of(c).controlSpec.id == kSearchButton) platform_events::ControlClicked(c);
    }
  };
  Start(Counting());
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(EventSuppression(), 0u);
  stand_in::Get().onControlCreated = nullptr;

  const platform::Window button = Control(kSearchButton);
  RaiseEventSuppression();  // as ShutDown does first
  stand_in::Click(button);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ShellTest, ProgramFolderSplitsAtTheLastSeparatorThatIsNoTrailByte) {
  struct Case {
    std::string path;
    std::string folder;
  };
  const std::string longFolder = "C:\\" + std::string(300, 'd');
  const Case cases[] = {
      {"C:\\Ulmora\\ulmora.exe", "C:\\Ulmora"},
      // 0x81 0x5C is one double-byte character whose trail byte is the separator's code.
      {"C:\\A\x81\x5c" "B\\u.exe", "C:\\A\x81\x5c" "B"},
      {"C:\\A\x81\x5cu.exe", "C:"},
      {"ulmora.exe", ""},
      {longFolder + "\\ulmora.exe", longFolder},  // longer than 260 bytes: not cut short
  };
  for (const Case& c : cases) {
    SetUp();
    stand_in::Get().programPath = c.path;
    InitializeShell(UlmoraProgram);
    ASSERT_EQ(stand_in::Get().workingDirectories.size(), 1u);
    EXPECT_EQ(stand_in::Get().workingDirectories[0], c.folder) << c.path;
    TearDown();
  }
}

TEST_F(ShellTest, ComponentServicesThatFailToStartAreNotStopped) {
  stand_in::Get().componentServicesFail = true;
  Start();
  ShutDown();
  EXPECT_EQ(stand_in::Get().componentServicesStopped, 0);
}

}  // namespace
}  // namespace ulmora
