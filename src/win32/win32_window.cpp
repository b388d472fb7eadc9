// Top-level windows and the hidden tool window: their classes, the window procedure that reports
// to the logic, and the colours the top-level window paints itself and its controls with.
#include "platform/platform.h"
#include "win32/win32_internal.h"

namespace win32 {
namespace {

// The colours of one control, kept by its top-level window until the control or the window goes.
struct ControlColors {
  ControlColors* next;
  HWND control;
  std::uint32_t textColor;
  std::uint32_t backColor;
  HBRUSH brush;  // owned; null for the system's button-face colour, whose brush is the system's
};

// Owned by its window from WM_NCCREATE on, released at WM_NCDESTROY.
struct TopLevelRecord {
  HWND window;
  std::uint32_t backColor;
  HBRUSH backBrush;  // owned; null for the system's button-face colour
  ControlColors* controls;
};

template <typename T>
T* NewRecord() {
  const HANDLE heap = GetProcessHeap();
  if (heap == nullptr) return nullptr;
  return static_cast<T*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(T)));
}

void FreeRecord(void* record) {
  const HANDLE heap = GetProcessHeap();
  if (record != nullptr && heap != nullptr) HeapFree(heap, 0, record);
}

// A brush of its own for a colour value, or null for the system colour (and when none can be
// made: *ok then says so).
HBRUSH MakeBrush(std::uint32_t color, bool* ok) {
  *ok = true;
  if (color == platform::kSystemButtonFace) return nullptr;
  HBRUSH brush = CreateSolidBrush(ResolveColor(color));
  *ok = brush != nullptr;
  return brush;
}

HBRUSH BrushFor(HBRUSH own) { return own != nullptr ? own : GetSysColorBrush(COLOR_BTNFACE); }

void DeleteBrush(HBRUSH brush) {
  if (brush != nullptr) DeleteObject(brush);
}

void ReleaseControlColors(ControlColors* colors) {
  DeleteBrush(colors->brush);
  FreeRecord(colors);
}

void ReleaseTopLevelRecord(TopLevelRecord* record) {
  ControlColors* colors = record->controls;
  while (colors != nullptr) {
    ControlColors* next = colors->next;
    ReleaseControlColors(colors);
    colors = next;
  }
  DeleteBrush(record->backBrush);
  FreeRecord(record);
}

TopLevelRecord* RecordOf(HWND window) {
  return reinterpret_cast<TopLevelRecord*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Handed to CreateWindowExA: the procedure claims the record at WM_NCCREATE. When creation fails
// before that, the record is still the creator's to release.
struct CreationContext {
  TopLevelRecord* record;
  bool claimed;
};

// ---- Message handlers of the top-level window ----

LRESULT OnNcCreate(HWND window, const CREATESTRUCTA* create) {
  auto* context = static_cast<CreationContext*>(create->lpCreateParams);
  if (context == nullptr || context->record == nullptr) return FALSE;
  SetLastError(ERROR_SUCCESS);
  if (SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(context->record)) == 0 &&
      GetLastError() != ERROR_SUCCESS) {
    return FALSE;  // creation fails; the creator still owns the record
  }
  context->record->window = window;
  context->claimed = true;
  return TRUE;
}

LRESULT OnEraseBackground(TopLevelRecord* record, HDC dc) {
  RECT client;
  if (!GetClientRect(record->window, &client)) return 0;
  return FillRect(dc, &client, BrushFor(record->backBrush)) ? 1 : 0;
}

// WM_CTLCOLOR...: the brush is the control's background; text and back colour go to its DC.
bool OnControlColor(TopLevelRecord* record, HDC dc, HWND control, LRESULT* result) {
  for (ControlColors* colors = record->controls; colors != nullptr; colors = colors->next) {
    if (colors->control != control) continue;
    SetTextColor(dc, ResolveColor(colors->textColor));
    SetBkColor(dc, ResolveColor(colors->backColor));
    *result = reinterpret_cast<LRESULT>(BrushFor(colors->brush));
    return true;
  }
  return false;
}

void OnChildDestroyed(TopLevelRecord* record, HWND control) {
  for (ControlColors** link = &record->controls; *link != nullptr; link = &(*link)->next) {
    ControlColors* colors = *link;
    if (colors->control != control) continue;
    *link = colors->next;
    ReleaseControlColors(colors);
    return;
  }
}

void OnCommand(WPARAM wParam, LPARAM lParam) {
  // Only a control's own notification counts; menus and accelerators come without a window.
  const HWND control = reinterpret_cast<HWND>(lParam);
  if (control != nullptr && HIWORD(wParam) == BN_CLICKED) {
    platform_events::ControlClicked(FromNative(control));
  }
}

void OnNcDestroy(HWND window, TopLevelRecord* record) {
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  ReleaseTopLevelRecord(record);
  platform_events::WindowDestroyed(FromNative(window));
}

// The one procedure of the top-level class. A handler that reports to the logic returns at once
// afterwards: the logic may have destroyed the window, and the record with it.
LRESULT CALLBACK TopLevelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    if (OnNcCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam)) == FALSE) return FALSE;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  TopLevelRecord* record = RecordOf(window);
  if (record == nullptr) return DefWindowProcA(window, message, wParam, lParam);

  switch (message) {
    case WM_ERASEBKGND:
      return OnEraseBackground(record, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      LRESULT brush = 0;
      if (OnControlColor(record, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                         &brush)) {
        return brush;
      }
      break;
    }
    case WM_PARENTNOTIFY:
      if (LOWORD(wParam) == WM_DESTROY) OnChildDestroyed(record, reinterpret_cast<HWND>(lParam));
      break;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_SETFOCUS:
      platform_events::WindowFocused(FromNative(window));
      return 0;
    case WM_ACTIVATE:
      // Reported before the default handling, while the focus is still where the user left it.
      // Activation itself goes on to DefWindowProc, which gives the window the focus.
      if (LOWORD(wParam) == WA_INACTIVE) {
        platform_events::WindowDeactivated(FromNative(window), FromNative(GetFocus()));
      }
      break;
    case WM_CLOSE:
      // The logic decides; it destroys the window itself. DefWindowProc would destroy it here.
      platform_events::WindowCloseRequested(FromNative(window));
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      OnNcDestroy(window, record);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool topLevelClassRegistered = false;
bool toolWindowClassRegistered = false;

DWORD TopLevelStyle(const platform::TopLevelSpec& params) {
  // A window without WS_POPUP always gets a caption from the system, so a frame without a title
  // bar has to be a pop-up window: a fixed dialog frame, or a sizing border.
  DWORD style = WS_CLIPCHILDREN;
  if (params.titleBar) {
    style |= WS_OVERLAPPED | WS_CAPTION;
  } else {
    style |= WS_POPUP | (params.sizingBorder ? 0 : WS_DLGFRAME);
  }
  if (params.systemMenu) style |= WS_SYSMENU;
  if (params.minimizeBox) style |= WS_MINIMIZEBOX;
  if (params.maximizeBox) style |= WS_MAXIMIZEBOX;
  if (params.sizingBorder) style |= WS_THICKFRAME;
  return style;
}

}  // namespace

bool RegisterWindowClass(const char* name, WNDPROC procedure, int windowExtraBytes) {
  WNDCLASSA windowClass{};
  windowClass.style = 0;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = windowExtraBytes;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = nullptr;
  windowClass.lpszClassName = name;
  if (windowClass.hInstance == nullptr || windowClass.hCursor == nullptr) return false;
  return RegisterClassA(&windowClass) != 0;
}

COLORREF ResolveColor(std::uint32_t color) {
  if (color == platform::kSystemButtonFace) return GetSysColor(COLOR_BTNFACE);
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

bool AttachControlColors(HWND parent, HWND control, std::uint32_t textColor,
                         std::uint32_t backColor) {
  if (GetWindowLongPtrA(parent, GWLP_WNDPROC) !=
      reinterpret_cast<LONG_PTR>(&TopLevelProcedure)) {
    return true;
  }
  TopLevelRecord* record = RecordOf(parent);
  if (record == nullptr) return true;
  auto* colors = NewRecord<ControlColors>();
  if (colors == nullptr) return false;
  bool ok = false;
  colors->brush = MakeBrush(backColor, &ok);
  if (!ok) {
    FreeRecord(colors);
    return false;
  }
  colors->control = control;
  colors->textColor = textColor;
  colors->backColor = backColor;
  colors->next = record->controls;
  record->controls = colors;
  return true;
}

}  // namespace win32

namespace platform {

Window CreateHiddenToolWindow() {
  if (!win32::toolWindowClassRegistered) {
    win32::toolWindowClassRegistered =
        win32::RegisterWindowClass(win32::kToolWindowClass, DefWindowProcA, 0);
    if (!win32::toolWindowClassRegistered) return nullptr;
  }
  const HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, win32::kToolWindowClass, "", 0, 0, 0, 0,
                                     0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  return win32::FromNative(window);
}

Window CreateTopLevel(const TopLevelSpec& params) {
  if (!win32::topLevelClassRegistered) {
    win32::topLevelClassRegistered =
        win32::RegisterWindowClass(win32::kTopLevelClass, win32::TopLevelProcedure, 0);
    if (!win32::topLevelClassRegistered) return nullptr;
  }
  auto* record = win32::NewRecord<win32::TopLevelRecord>();
  if (record == nullptr) return nullptr;
  bool ok = false;
  record->backColor = params.backColor;
  record->backBrush = win32::MakeBrush(params.backColor, &ok);
  if (!ok) {
    win32::FreeRecord(record);
    return nullptr;
  }

  win32::CreationContext context{record, false};
  const HWND window = CreateWindowExA(
      params.topmost ? WS_EX_TOPMOST : 0, win32::kTopLevelClass,
      params.title != nullptr ? params.title : "", win32::TopLevelStyle(params), params.outer.left,
      params.outer.top, params.outer.width, params.outer.height, win32::ToNative(params.owner), nullptr,
      GetModuleHandleA(nullptr), &context);
  if (window == nullptr && !context.claimed) win32::ReleaseTopLevelRecord(record);
  return win32::FromNative(window);
}

}  // namespace platform
