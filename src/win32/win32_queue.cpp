// The message queue of the UI thread, and the keyboard state that the logic reads with a key.
//
// The pump is the Unicode one: a character typed or composed by an input method reaches the
// query field whole. The ANSI pump hands a double-byte character to an ANSI field byte by byte,
// and Wine turns those halves into "?".
#include <cstring>

#include "fatal/fatal.h"
#include "platform/platform.h"
#include "win32/win32_internal.h"

namespace platform {
namespace {

static_assert(sizeof(MSG) <= sizeof(Message::native), "Message::native must hold a MSG");
static_assert(alignof(MSG) <= alignof(Message), "Message::native must be aligned for a MSG");

MessageKind KindOf(UINT message) {
  switch (message) {
    case WM_KEYDOWN: return MessageKind::KeyDown;
    case WM_SYSKEYDOWN: return MessageKind::SysKeyDown;
    default: return MessageKind::Other;
  }
}

void Dispatch(const MSG& msg) {
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace

bool MessageWaiting() {
  MSG msg;
  return PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) != 0;
}

bool RunIdleStep() { return false; }  // the backend has no idle work of its own

void WaitForMessage() {
  // A failed wait returns at once; the GetMessageW that follows waits all the same.
  WaitMessage();
}

TakeResult TakeMessage(Message* message, int* quitCode) {
  MSG msg;
  const BOOL taken = GetMessageW(&msg, nullptr, 0, 0);
  if (taken == -1) ulmora::ReportFatalError("读取窗口消息失败");
  if (taken == 0) {
    if (quitCode != nullptr) *quitCode = static_cast<int>(msg.wParam);
    return TakeResult::Quit;
  }
  if (message == nullptr) {
    // Nowhere to hand it for pre-translation: it goes to its window as it is.
    Dispatch(msg);
    return TakeResult::Message;
  }
  message->target = win32::FromNative(msg.hwnd);
  message->kind = KindOf(msg.message);
  message->key = static_cast<std::uint32_t>(msg.wParam);
  message->keyFlags = static_cast<std::uint32_t>(msg.lParam);
  std::memcpy(message->native, &msg, sizeof msg);
  return TakeResult::Message;
}

void TranslateAndDispatch(const Message& message) {
  MSG msg;
  std::memcpy(&msg, message.native, sizeof msg);
  Dispatch(msg);
}

void PostQuitRequest(int code) { PostQuitMessage(code); }

std::uint32_t HeldKeyModifiers() {
  // The high bit of GetKeyState: held down when the message now being handled was posted.
  std::uint32_t held = 0;
  if (GetKeyState(VK_CONTROL) < 0) held |= 1;
  if (GetKeyState(VK_SHIFT) < 0) held |= 2;
  if (GetKeyState(VK_MENU) < 0) held |= 4;
  return held;
}

}  // namespace platform
