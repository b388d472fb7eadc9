#include "stand_in_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "fatal/fatal.h"

namespace stand_in {

State& Get() {
  static State state;
  return state;
}

void Reset() {
  State& s = Get();
  for (void* block : s.heap.live) std::free(block);
  s = State{};
  // The suppression counter is process-wide; every test starts from 0.
  while (ulmora::EventSuppression() > 0) ulmora::LowerEventSuppression();
}

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

platform::Window HandleOf(std::size_t index) {
  return reinterpret_cast<platform::Window>(static_cast<std::uintptr_t>(index + 1));
}

FakeWindow& Of(platform::Window window) {
  const auto index = reinterpret_cast<std::uintptr_t>(window);
  if (index == 0 || index > Get().windows.size()) throw std::logic_error("not a window");
  return Get().windows[index - 1];
}

platform::Window ChildById(platform::Window parent, std::uint32_t id) {
  for (platform::Window child : Of(parent).children) {
    if (Of(child).exists && Of(child).controlSpec.id == id) return child;
  }
  return nullptr;
}

platform::Window MainTopLevel() {
  for (std::size_t i = 0; i < Get().windows.size(); ++i) {
    const FakeWindow& w = Get().windows[i];
    if (w.exists && w.topLevel && !w.toolWindow) return HandleOf(i);
  }
  return nullptr;
}

std::size_t LiveFonts() {
  return static_cast<std::size_t>(std::count_if(Get().fonts.begin(), Get().fonts.end(),
                                                [](const FakeFont& f) { return !f.destroyed; }));
}

void Click(platform::Window control) {
  FakeWindow& w = Of(control);
  if (!w.enabled) return;
  if (w.controlSpec.controlClass == platform::ControlClass::RadioButton) {
    // No control carries a group mark, so every radio button of the parent is in the group.
    for (platform::Window sibling : Of(w.parent).children) {
      FakeWindow& s = Of(sibling);
      if (s.controlSpec.controlClass == platform::ControlClass::RadioButton) {
        s.check = platform::CheckState::Unchecked;
      }
    }
    w.check = platform::CheckState::Checked;
  }
  platform_events::ControlClicked(control);
}

void Deactivate(platform::Window topLevel) {
  platform_events::WindowDeactivated(topLevel, Get().focus);
  Get().focus = nullptr;
}

void Activate(platform::Window topLevel) {
  Get().focus = topLevel;
  platform_events::WindowFocused(topLevel);
}

void PostKey(platform::Window target, std::uint32_t key, bool system) {
  platform::Message m{};
  m.target = target;
  m.kind = system ? platform::MessageKind::SysKeyDown : platform::MessageKind::KeyDown;
  m.key = key;
  Get().queue.push_back(m);
}

void PostAction(std::function<void()> action) {
  platform::Message m{};
  m.kind = platform::MessageKind::Other;
  const std::size_t index = Get().actions.size();
  Get().actions.push_back(std::move(action));
  std::memcpy(m.native, &index, sizeof index);
  Get().queue.push_back(m);
}

namespace {

void Log(std::string entry) { Get().calls.push_back(std::move(entry)); }

std::string Hex(std::uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08x", value);
  return buffer;
}

std::string NameOf(platform::Window window) {
  const FakeWindow& w = Of(window);
  return w.topLevel ? std::string("window") : Hex(w.controlSpec.id);
}

platform::Window NewWindow(FakeWindow w) {
  Get().windows.push_back(std::move(w));
  return HandleOf(Get().windows.size() - 1);
}

void DestroyTree(platform::Window window) {
  // Owned windows go first, then the children, then the window itself.
  for (std::size_t i = 0; i < Get().windows.size(); ++i) {
    if (Get().windows[i].exists && Get().windows[i].owner == window) DestroyTree(HandleOf(i));
  }
  FakeWindow& w = Of(window);
  if (!w.exists) return;
  for (platform::Window child : w.children) Of(child).exists = false;
  w.exists = false;
  if (Get().focus == window || (Get().focus != nullptr && Of(Get().focus).parent == window)) {
    Get().focus = nullptr;
  }
  if (w.topLevel) platform_events::WindowDestroyed(window);
}

}  // namespace

}  // namespace stand_in

namespace platform {

using stand_in::Get;
using stand_in::Log;
using stand_in::Of;

void* HeapAllocate(std::uint32_t size) {
  auto& heap = Get().heap;
  ++heap.allocations;
  heap.requestSizes.push_back(size);
  Log("alloc " + std::to_string(size));
  if (heap.failAll || heap.allocations == heap.failAt) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) return nullptr;
  heap.live.insert(block);
  return block;
}

void HeapRelease(void* block) {
  auto& heap = Get().heap;
  if (heap.live.erase(block) != 1) std::abort();  // a double or foreign release
  heap.releases.push_back(block);
  Log("free");
  std::free(block);
}

std::uint32_t ProgramFilePath(char* buffer, std::uint32_t capacity) {
  const std::string& path = Get().programPath;
  const std::uint32_t n = static_cast<std::uint32_t>(path.size());
  if (n >= capacity) {
    std::memcpy(buffer, path.data(), capacity);
    return capacity;
  }
  std::memcpy(buffer, path.c_str(), n + 1);
  return n;
}

void SetWorkingDirectory(const char* path) {
  Log("SetWorkingDirectory");
  Get().workingDirectories.emplace_back(path);
}

bool IsLeadByte(unsigned char byte) { return stand_in::IsGbkLeadByte(byte); }

bool StartComponentServices() {
  Log("StartComponentServices");
  if (Get().componentServicesFail) return false;
  ++Get().componentServicesStarted;
  return true;
}

void StopComponentServices() {
  Log("StopComponentServices");
  ++Get().componentServicesStopped;
}

void ShowErrorBox(const char* caption, const char* text) {
  Log("ShowErrorBox");
  Get().errorBoxes.push_back({caption, text, ulmora::EventSuppression()});
}

void EndProcess(int exitCode) {
  Log("EndProcess");
  throw stand_in::ProcessEnded{exitCode};
}

Window CreateHiddenToolWindow() {
  Log("CreateHiddenToolWindow");
  stand_in::FakeWindow w;
  w.topLevel = true;
  w.toolWindow = true;
  return stand_in::NewWindow(std::move(w));
}

Window CreateTopLevel(const TopLevelSpec& params) {
  Log("CreateTopLevel");
  if (Get().failTopLevel) return nullptr;
  stand_in::FakeWindow w;
  w.topLevel = true;
  w.topSpec = params;
  w.title = params.title;
  w.text = params.title;
  w.owner = params.owner;
  w.outer = params.outer;
  w.outer.width += Get().createdSizeDelta;
  w.outer.height += Get().createdSizeDelta;
  return stand_in::NewWindow(std::move(w));
}

Window CreateControl(Window parent, const ControlSpec& params) {
  const int number = ++Get().controlsCreated;
  Log("CreateControl " + stand_in::Hex(params.id));
  if (Get().failControlAt == number) return nullptr;
  stand_in::FakeWindow w;
  w.controlSpec = params;
  w.text = params.text;
  w.parent = parent;
  w.enabled = !params.disabled;
  Window handle = stand_in::NewWindow(std::move(w));
  Of(parent).children.push_back(handle);
  if (Get().onControlCreated) Get().onControlCreated(handle);
  return handle;
}

Font MakeFont(const FontSpec& params) {
  if (Get().failFonts) return nullptr;
  stand_in::FakeFont f{params, params.face, false};
  f.params.face = nullptr;  // the face is kept in f.face
  Get().fonts.push_back(f);
  return reinterpret_cast<Font>(static_cast<std::uintptr_t>(Get().fonts.size()));
}

void SetControlFont(Window control, Font font) { Of(control).font = font; }

void DestroyFont(Font font) {
  auto& f = Get().fonts.at(reinterpret_cast<std::uintptr_t>(font) - 1);
  if (f.destroyed) std::abort();
  f.destroyed = true;
}

bool SetProgramIcon(Window window) {
  Of(window).icon = true;
  return true;
}

void SetEditSelection(Window edit, std::uint32_t start, std::uint32_t length) {
  Of(edit).selectionStart = start;
  Of(edit).selectionLength = length;
}

bool GetOuterRect(Window window, Rect* rect) {
  *rect = Of(window).outer;
  return true;
}

bool SetOuterRect(Window window, const Rect& rect) {
  Log("SetOuterRect");
  Of(window).outer = rect;
  return true;
}

ScreenSize PrimaryScreenSize() { return Get().screen; }

bool PlaceBelow(Window window, Window above) {
  auto& siblings = Of(Of(window).parent).children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), window));
  auto at = above == nullptr ? siblings.begin()
                             : std::find(siblings.begin(), siblings.end(), above) + 1;
  siblings.insert(at, window);
  return true;
}

void ShowChild(Window control, bool visible) { Of(control).visible = visible; }

void ShowTopLevel(Window window) {
  Log("ShowTopLevel");
  Of(window).visible = true;
  stand_in::Activate(window);
}

void DestroyNativeWindow(Window window) {
  Log("DestroyNativeWindow " + stand_in::NameOf(window));
  stand_in::DestroyTree(window);
}

void RequestClose(Window window) {
  Log("RequestClose");
  platform_events::WindowCloseRequested(window);
}

void RequestRepaint(Window window) { Log("RequestRepaint " + stand_in::NameOf(window)); }

bool WindowExists(Window window) {
  const auto index = reinterpret_cast<std::uintptr_t>(window);
  return index != 0 && index <= Get().windows.size() && Get().windows[index - 1].exists;
}

bool WindowEnabled(Window window) { return Of(window).enabled; }
bool WindowVisible(Window window) { return Of(window).visible; }
Window ParentOf(Window window) { return Of(window).parent; }

void SetFocusTo(Window window) {
  Log("SetFocusTo " + stand_in::NameOf(window));
  Get().focus = window;
}

Window FocusedWindow() { return Get().focus; }

CheckState GetCheck(Window button) {
  Log("GetCheck " + stand_in::NameOf(button));
  return Of(button).check;
}

void SetCheck(Window button, bool checked) {
  Log("SetCheck " + stand_in::NameOf(button) + (checked ? " 1" : " 0"));
  Of(button).check = checked ? CheckState::Checked : CheckState::Unchecked;
}

std::uint32_t WindowTextLength(Window window) {
  return static_cast<std::uint32_t>(Of(window).text.size());
}

std::uint32_t ReadWindowText(Window window, char* buffer, std::uint32_t capacity) {
  Log("ReadWindowText " + stand_in::NameOf(window));
  if (capacity == 0) return 0;
  const std::string& text = Of(window).text;
  const std::uint32_t n = std::min<std::uint32_t>(capacity - 1, text.size());
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

bool SetWindowTextTo(Window window, const char* text) {
  Log("SetWindowText " + stand_in::NameOf(window));
  Of(window).text = text;
  return true;
}

std::uint32_t HeldKeyModifiers() { return Get().heldModifiers; }

bool MessageWaiting() { return !Get().queue.empty() || Get().quitPosted; }

bool RunIdleStep() { return false; }

void WaitForMessage() {
  if (!MessageWaiting()) throw std::logic_error("the loop would wait for ever");
}

TakeResult TakeMessage(Message* message, int* quitCode) {
  if (Get().queue.empty()) {
    if (!Get().quitPosted) throw std::logic_error("the loop would wait for ever");
    Get().quitPosted = false;
    *quitCode = Get().quitCode;
    return TakeResult::Quit;
  }
  *message = Get().queue.front();
  Get().queue.pop_front();
  return TakeResult::Message;
}

void TranslateAndDispatch(const Message& message) {
  Get().dispatched.push_back(message);
  if (message.kind == MessageKind::Other) {
    std::size_t index = 0;
    std::memcpy(&index, message.native, sizeof index);
    auto action = Get().actions.at(index);
    action();
  }
}

void PostQuitRequest(int code) {
  Log("PostQuitRequest");
  ++Get().quitRequests;
  Get().quitPosted = true;
  Get().quitCode = code;
}

std::intptr_t ShellOpen(const char* target, int showMode) {
  Log("ShellOpen");
  Get().shellOpens.push_back({target, showMode});
  return Get().shellResult;
}

std::int32_t OpenClassKey(const char* path, RegistryKey* key) {
  Log(std::string("OpenClassKey ") + path);
  auto error = Get().registryOpenErrors.find(path);
  if (error != Get().registryOpenErrors.end()) return error->second;
  auto found = Get().registry.find(path);
  if (found == Get().registry.end()) return 2;  // not found
  ++Get().keysOpen;
  *key = reinterpret_cast<RegistryKey>(&*found);
  return 0;
}

std::int32_t QueryDefaultValue(RegistryKey key, char* buffer, std::uint32_t capacity) {
  const auto& entry =
      *reinterpret_cast<std::pair<const std::string, std::optional<std::string>>*>(key);
  if (!entry.second.has_value()) return 2;               // absent
  if (entry.second->size() + 1 > capacity) return 234;   // more data than fits
  std::memcpy(buffer, entry.second->c_str(), entry.second->size() + 1);
  return 0;
}

void CloseClassKey(RegistryKey) { --Get().keysOpen; }

std::uint32_t StartCommandLine(const char* commandLine, int showMode) {
  Log("StartCommandLine");
  Get().commandStarts.push_back({commandLine, showMode});
  return Get().startResult;
}

}  // namespace platform
