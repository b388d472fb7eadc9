#include "app/shell.h"

#include "fatal/fatal.h"
#include "platform/platform.h"
#include "text/dbcs.h"
#include "text/text.h"
#include "ui/events.h"
#include "ui/keyboard.h"
#include "ui/window.h"

namespace ulmora {
namespace {

// The shell's one state record; it lives as long as the process.
struct ShellState {
  LoadedWindows windows;
  Routine exitRoutine;
  bool loopEntered;
  bool componentServicesStarted;
  platform::Window hiddenToolWindow;
  Text programFolder;  // owned; null when the program path has no backslash
  int quitCode;
};

ShellState state = {};

void FatalShutdown() {
  state.exitRoutine = nullptr;  // the exit routine does not run on this path
  ShutDown();
}

// The program file's full path in storage of sufficient size (a path longer than the
// traditional 260 bytes is not cut short); sets *length. Null when there is no path.
Text ProgramPath(std::uint32_t* length) {
  constexpr std::uint32_t kLargestPath = 0x10000;  // the longest path the system allows fits
  for (std::uint32_t capacity = 260;; capacity *= 2) {
    Text buffer = AllocateText(capacity);
    const std::uint32_t n = platform::ProgramFilePath(buffer, capacity);
    if (n > 0 && n < capacity) {
      *length = n;
      return buffer;
    }
    ReleaseText(buffer);
    if (n == 0 || capacity >= kLargestPath) return nullptr;
  }
}

void SetProgramFolder() {
  std::uint32_t length = 0;
  Text path = ProgramPath(&length);
  const std::uint32_t separator =
      path != nullptr ? FindLastCharacter(path, length, '\\') : kNotFound;
  if (separator != kNotFound) {
    path[separator] = '\0';
    state.programFolder = CopyText(path);
  }
  ReleaseText(path);
  platform::SetWorkingDirectory(state.programFolder != nullptr ? state.programFolder : "");
}

// Offers a key message to the window it is addressed to, then each enclosing one.
bool PreTranslate(const platform::Message& message) {
  if (message.kind == platform::MessageKind::Other) return false;
  for (platform::Window w = message.target; w != nullptr; w = platform::ParentOf(w)) {
    if (LoadedWindow* window = FindWindowByNative(w)) return PreTranslateKey(window, message);
  }
  return false;
}

}  // namespace

int ProgramEntry() { return RunProgram(UlmoraProgram); }

int RunProgram(const ProgramData& program) {
  InitializeShell(program);
  if (program.init != nullptr) program.init();
  RegisterExitRoutine(program.exit);
  LoadWindow(program.startWindow);
  RunEventLoop();
  return 0;
}

void InitializeShell(const ProgramData& program) {
  InstallFatalShutdownStep(&FatalShutdown);
  // The text heap is the port's, the process heap on Windows: nothing to choose here.
  if (!state.componentServicesStarted && platform::StartComponentServices()) {
    state.componentServicesStarted = true;
  }
  SetProgramFolder();
  state.hiddenToolWindow = platform::CreateHiddenToolWindow();
  if (!LoadWindows(program.windows, program.windowCount, program.routines, program.routineCount,
                   &state.windows)) {
    ReportFatalError("载入窗口模板数据段出错!");
  }
  InstallLoadedWindows(&state.windows);
}

void ProgramInit() {}

void ProgramExit() {}

void RegisterExitRoutine(Routine routine) { state.exitRoutine = routine; }

void LoadWindow(std::uint32_t windowIdentity) {
  LoadedWindow* window = FindWindowByIdentity(windowIdentity);
  if (window == nullptr || !BuildWindow(window, nullptr, state.hiddenToolWindow)) {
    ReportFatalError("载入启动窗口失败");
  }
}

void RunEventLoop() {
  state.loopEntered = true;
  if (!AnyWindowOpen()) return;
  for (;;) {
    while (!platform::MessageWaiting()) {
      while (platform::RunIdleStep()) {
      }
      platform::WaitForMessage();
    }
    platform::Message message;
    int code = 0;
    if (platform::TakeMessage(&message, &code) == platform::TakeResult::Quit) {
      state.quitCode = code;
      return;
    }
    if (!PreTranslate(message)) platform::TranslateAndDispatch(message);
  }
}

bool AnyWindowOpen() {
  const LoadedWindows& loaded = CurrentWindows();
  for (std::uint32_t i = 0; i < loaded.count; ++i) {
    if (loaded.windows[i].window != nullptr) return true;
  }
  return false;
}

void ShutDown() {
  RaiseEventSuppression();
  if (state.windows.windows != nullptr) {
    ReleaseWindows(&state.windows);
    InstallLoadedWindows(nullptr);
  }
  if (Routine exitRoutine = state.exitRoutine) {
    state.exitRoutine = nullptr;
    exitRoutine();
  }
  if (state.hiddenToolWindow != nullptr) {
    const platform::Window hidden = state.hiddenToolWindow;
    state.hiddenToolWindow = nullptr;
    if (platform::WindowExists(hidden)) platform::DestroyNativeWindow(hidden);
  }
  ReleaseText(state.programFolder);
  state.programFolder = nullptr;
  if (state.componentServicesStarted) {
    platform::StopComponentServices();
    state.componentServicesStarted = false;
  }
}

int QuitCode() { return state.quitCode; }

void ResetShellState() {
  InstallLoadedWindows(nullptr);
  state = ShellState{};
}

}  // namespace ulmora

namespace platform_events {

using namespace ulmora;

void ControlClicked(platform::Window control) { ulmora::ControlClicked(control); }

void WindowFocused(platform::Window window) {
  if (LoadedWindow* w = FindWindowByNative(window)) FocusOnActivation(w);
}

void WindowDeactivated(platform::Window window, platform::Window focus) {
  if (LoadedWindow* w = FindWindowByNative(window)) RememberFocus(w, focus);
}

void WindowCloseRequested(platform::Window window) {
  // The close-query event has no handler in this program, so a close is never refused.
  if (FindWindowByNative(window) != nullptr) platform::DestroyNativeWindow(window);
}

void WindowDestroyed(platform::Window window) {
  LoadedWindow* w = FindWindowByNative(window);
  if (w == nullptr) return;
  ForgetNativeWindow(w);
  if (state.loopEntered && !AnyWindowOpen()) platform::PostQuitRequest(0);
}

}  // namespace platform_events
