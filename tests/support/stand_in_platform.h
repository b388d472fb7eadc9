// The in-memory stand-in for the port, for unit tests: a scripted heap, a recording error box
// and exit, a window system that keeps windows, focus and checks in memory with a message
// queue that a test fills, and a desktop whose shell and registry a test sets up.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace stand_in {

// Thrown by EndProcess, so that a test sees the exit instead of losing its process.
struct ProcessEnded {
  int exitCode;
};

struct HeapState {
  std::uint64_t allocations = 0;  // successful and failed requests alike
  std::uint32_t failAt = 0;       // fail the request with this 1-based number; 0: never
  bool failAll = false;
  std::set<void*> live;
  std::vector<std::uint32_t> requestSizes;
  std::vector<const void*> releases;  // in release order
};

struct ErrorBox {
  std::string caption;
  std::string text;
  std::uint32_t suppressionWhileShown;
};

struct FakeWindow {
  bool topLevel = false;
  bool toolWindow = false;
  bool exists = true;
  bool visible = false;
  bool enabled = true;
  platform::Window parent = nullptr;  // children only
  platform::Window owner = nullptr;   // top-level windows only
  platform::TopLevelSpec topSpec{};
  platform::ControlSpec controlSpec{};
  std::string title;  // the texts of the creation parameters, kept alive here
  std::string text;
  platform::Rect outer{};
  platform::CheckState check = platform::CheckState::Unchecked;
  platform::Font font = nullptr;
  bool icon = false;
  std::uint32_t selectionStart = 0, selectionLength = 0;
  std::vector<platform::Window> children;  // stacking order, top first
};

struct FakeFont {
  platform::FontSpec params;
  std::string face;
  bool destroyed = false;
};

struct ShellOpenCall {
  std::string target;
  int showMode;
};

struct CommandStart {
  std::string commandLine;
  int showMode;
};

struct State {
  HeapState heap;
  std::vector<ErrorBox> errorBoxes;
  // Port calls in the order they were made, e.g. "GetCheck 0x16010004", "alloc 5", "free".
  std::vector<std::string> calls;
  std::string programPath = "C:\\Ulmora\\ulmora.exe";
  std::vector<std::string> workingDirectories;
  bool componentServicesFail = false;
  int componentServicesStarted = 0;
  int componentServicesStopped = 0;

  // Window system.
  std::vector<FakeWindow> windows;  // a handle is its index + 1
  std::vector<FakeFont> fonts;      // a handle is its index + 1
  platform::Window focus = nullptr;
  platform::ScreenSize screen{1024, 768};
  int createdSizeDelta = 0;     // the created top-level window is this much larger each way
  bool failTopLevel = false;
  int failControlAt = 0;        // the 1-based control creation that fails; 0: none
  int controlsCreated = 0;
  std::function<void(platform::Window)> onControlCreated;  // runs while the window is built
  bool failFonts = false;
  std::uint32_t heldModifiers = 0;
  std::deque<platform::Message> queue;
  std::vector<std::function<void()>> actions;  // run when their message is dispatched
  std::vector<platform::Message> dispatched;
  bool quitPosted = false;
  int quitCode = 0;
  int quitRequests = 0;

  // Desktop.
  std::intptr_t shellResult = 42;
  std::vector<ShellOpenCall> shellOpens;
  std::map<std::string, std::optional<std::string>> registry;  // key path → default value
  std::map<std::string, std::int32_t> registryOpenErrors;      // keys that fail to open
  int keysOpen = 0;
  std::uint32_t startResult = 33;
  std::vector<CommandStart> commandStarts;
};

State& Get();
// A fresh state; blocks still live from an earlier test are freed first.
void Reset();

// GBK: lead bytes 0x81 to 0xFE.
bool IsGbkLeadByte(unsigned char byte);

FakeWindow& Of(platform::Window window);
platform::Window HandleOf(std::size_t index);
// The live child of parent with this control id, or null.
platform::Window ChildById(platform::Window parent, std::uint32_t id);
// The first existing top-level window that is not a tool window, or null.
platform::Window MainTopLevel();
std::size_t LiveFonts();

// What a person does, as the real window system would report it.
void Click(platform::Window control);  // an automatic radio button checks itself first
void Deactivate(platform::Window topLevel);
void Activate(platform::Window topLevel);

// Queue filling.
void PostKey(platform::Window target, std::uint32_t key, bool system = false);
void PostAction(std::function<void()> action);

}  // namespace stand_in
