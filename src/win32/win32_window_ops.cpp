// Operations on any window of the program: geometry, stacking, showing, destroying, focus and
// window text.
#include "platform/platform.h"
#include "win32/win32_internal.h"

namespace platform {

bool GetOuterRect(Window window, Rect* rect) {
  if (window == nullptr || rect == nullptr) return false;
  RECT outer;
  if (!GetWindowRect(win32::ToNative(window), &outer)) return false;
  *rect = {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
  return true;
}

bool SetOuterRect(Window window, const Rect& rect) {
  if (window == nullptr) return false;
  return SetWindowPos(win32::ToNative(window), nullptr, rect.left, rect.top, rect.width,
                      rect.height, SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

ScreenSize PrimaryScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool PlaceBelow(Window window, Window above) {
  if (window == nullptr) return false;
  const HWND after = above != nullptr ? win32::ToNative(above) : HWND_TOP;
  return SetWindowPos(win32::ToNative(window), after, 0, 0, 0, 0,
                      SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != 0;
}

// ShowWindow answers with the earlier visibility, not with success: nothing to check.
void ShowChild(Window control, bool visible) {
  if (control == nullptr) return;
  ShowWindow(win32::ToNative(control), visible ? SW_SHOWNA : SW_HIDE);
}

void ShowTopLevel(Window window) {
  if (window == nullptr) return;
  ShowWindow(win32::ToNative(window), SW_SHOW);
}

void DestroyNativeWindow(Window window) {
  if (window == nullptr) return;
  DestroyWindow(win32::ToNative(window));  // fails only for a window that is already gone
}

void RequestClose(Window window) {
  if (window == nullptr) return;
  SendMessageA(win32::ToNative(window), WM_CLOSE, 0, 0);
}

void RequestRepaint(Window window) {
  // A null window would ask every window of the desktop to repaint.
  if (window == nullptr) return;
  InvalidateRect(win32::ToNative(window), nullptr, TRUE);
}

bool WindowExists(Window window) {
  return window != nullptr && IsWindow(win32::ToNative(window)) != 0;
}

bool WindowEnabled(Window window) {
  return window != nullptr && IsWindowEnabled(win32::ToNative(window)) != 0;
}

bool WindowVisible(Window window) {
  return window != nullptr && IsWindowVisible(win32::ToNative(window)) != 0;
}

Window ParentOf(Window window) {
  if (window == nullptr) return nullptr;
  const HWND native = win32::ToNative(window);
  // GetParent answers with the owner for a top-level window; only a child has a parent here.
  if ((GetWindowLongPtrA(native, GWL_STYLE) & WS_CHILD) == 0) return nullptr;
  return win32::FromNative(GetParent(native));
}

void SetFocusTo(Window window) { SetFocus(win32::ToNative(window)); }

Window FocusedWindow() { return win32::FromNative(GetFocus()); }

std::uint32_t WindowTextLength(Window window) {
  if (window == nullptr) return 0;
  const int length = GetWindowTextLengthA(win32::ToNative(window));
  return length > 0 ? static_cast<std::uint32_t>(length) : 0;
}

std::uint32_t ReadWindowText(Window window, char* buffer, std::uint32_t capacity) {
  if (buffer == nullptr || capacity == 0) return 0;
  buffer[0] = '\0';  // GetWindowTextA may leave the buffer as it was when it fails
  if (window == nullptr) return 0;
  const int room = capacity < 0x7FFFFFFFu ? static_cast<int>(capacity) : 0x7FFFFFFF;
  const int copied = GetWindowTextA(win32::ToNative(window), buffer, room);
  if (copied <= 0) {
    buffer[0] = '\0';
    return 0;
  }
  const auto length = static_cast<std::uint32_t>(copied) < capacity
                          ? static_cast<std::uint32_t>(copied)
                          : capacity - 1;
  buffer[length] = '\0';
  return length;
}

bool SetWindowTextTo(Window window, const char* text) {
  if (window == nullptr) return false;
  return SetWindowTextA(win32::ToNative(window), text != nullptr ? text : "") != 0;
}

}  // namespace platform
