// The floor of the start-up benchmark: the least a program of Ulmora's shape must do. A bare
// top-level window of the main window's size with one edit field that holds the keyboard focus,
// built with the same compiler, flags and C runtime start-up as ulmora.exe, and nothing else
// (no fonts, no owner window, no component services, no other controls).
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

namespace {

constexpr char kClassName[] = "UlmoraFloorWindow";
constexpr int kWidth = 375;  // outer size, frame and title bar included, as MainWindow's
constexpr int kHeight = 102;

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = FloorProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) == 0) return 1;

  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND window = CreateWindowExA(0, kClassName, "   Ulmora floor",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, left, top, kWidth,
                                kHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 22, 13, 257,
                              27, window, nullptr, instance, nullptr);
  if (edit == nullptr) return 1;

  ShowWindow(window, SW_SHOWNORMAL);
  SetFocus(edit);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
