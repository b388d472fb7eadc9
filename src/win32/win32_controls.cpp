// Child controls: the system's edit field and buttons, the backend's own link control, their
// fonts and the program icon.
#include "platform/platform.h"
#include "win32/win32_internal.h"

namespace win32 {
namespace {

// What a control params becomes: the system's class and the window styles.
struct NativeControl {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

DWORD EditAlignment(platform::HAlign align) {
  switch (align) {
    case platform::HAlign::Center: return ES_CENTER;
    case platform::HAlign::Right: return ES_RIGHT;
    case platform::HAlign::Left: break;
  }
  return ES_LEFT;
}

DWORD ButtonHAlignment(platform::HAlign align) {
  switch (align) {
    case platform::HAlign::Center: return BS_CENTER;
    case platform::HAlign::Right: return BS_RIGHT;
    case platform::HAlign::Left: break;
  }
  return BS_LEFT;
}

DWORD ButtonVAlignment(platform::VAlign align) {
  switch (align) {
    case platform::VAlign::Center: return BS_VCENTER;
    case platform::VAlign::Bottom: return BS_BOTTOM;
    case platform::VAlign::Top: break;
  }
  return BS_TOP;
}

// Created hidden (no WS_VISIBLE): the logic shows the controls once they are all stacked. No
// control carries WS_GROUP, so every radio button of a window is in one group.
NativeControl Describe(const platform::ControlSpec& params) {
  DWORD style = WS_CHILD;
  if (params.tabStop) style |= WS_TABSTOP;
  if (params.disabled) style |= WS_DISABLED;
  const DWORD caption = params.multilineCaption ? BS_MULTILINE : 0;
  switch (params.controlClass) {
    case platform::ControlClass::Edit:
      style |= ES_AUTOHSCROLL | EditAlignment(params.hAlign);
      if (!params.hideSelection) style |= ES_NOHIDESEL;
      if (params.multiline) style |= ES_MULTILINE;
      if (params.readOnly) style |= ES_READONLY;
      if (params.password) style |= ES_PASSWORD;
      return {"EDIT", style, params.clientEdge ? static_cast<DWORD>(WS_EX_CLIENTEDGE) : 0};
    case platform::ControlClass::PushButton:
      style |= (params.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | caption |
               ButtonHAlignment(params.hAlign) | ButtonVAlignment(params.vAlign);
      return {"BUTTON", style, 0};
    case platform::ControlClass::RadioButton:
      style |= BS_AUTORADIOBUTTON | caption | ButtonHAlignment(params.hAlign) |
               ButtonVAlignment(params.vAlign);
      if (params.textOnLeft) style |= BS_LEFTTEXT;
      return {"BUTTON", style, 0};
    case platform::ControlClass::HyperLinker:
      break;
  }
  return {kHyperLinkerClass, style, 0};
}

// The query field is a Unicode window, so that typed characters reach it whole from the
// Unicode pump; its text is still set and read in the ANSI code page (SetWindowTextA,
// GetWindowTextA), which the system converts.
HWND CreateUnicodeEdit(const NativeControl& native, const char* text, const platform::Rect& rect,
                       HWND parent, HMENU menu) {
  const HWND edit = CreateWindowExW(native.exStyle, L"EDIT", L"", native.style, rect.left,
                                    rect.top, rect.width, rect.height, parent, menu,
                                    GetModuleHandleA(nullptr), nullptr);
  if (edit != nullptr && text[0] != '\0' && !SetWindowTextA(edit, text)) {
    DestroyWindow(edit);
    return nullptr;
  }
  return edit;
}

// ---- The link control ----
// A plain child that paints its window text in its parent's colours for it and reports its own
// left click. Its window extra bytes hold the font (not owned) and whether a press is under way.

constexpr int kLinkFontSlot = 0;
constexpr int kLinkPressedSlot = sizeof(LONG_PTR);
constexpr int kLinkExtraBytes = 2 * sizeof(LONG_PTR);
// Longer captions are cut when painted; the control's look is never part of the product.
constexpr int kLinkPaintedTextBytes = 512;

bool linkClassRegistered = false;

void OnLinkPaint(HWND link) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(link, &paint);
  if (dc == nullptr) return;
  RECT client;
  if (GetClientRect(link, &client)) {
    // The parent's WM_CTLCOLORSTATIC sets the colours from the control's record.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
        GetParent(link), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(link)));
    FillRect(dc, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
    char text[kLinkPaintedTextBytes];
    const int length = GetWindowTextA(link, text, sizeof text);
    if (length > 0) {
      auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(link, kLinkFontSlot));
      HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
      SetBkMode(dc, TRANSPARENT);
      DrawTextA(dc, text, length, &client, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
      if (previous != nullptr) SelectObject(dc, previous);
    }
  }
  EndPaint(link, &paint);
}

void OnLinkButtonUp(HWND link, LPARAM lParam) {
  const bool pressed = GetWindowLongPtrA(link, kLinkPressedSlot) != 0;
  SetWindowLongPtrA(link, kLinkPressedSlot, 0);
  if (!pressed) return;
  ReleaseCapture();
  RECT client;
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  // A press dragged off the control and released elsewhere is no click.
  if (GetClientRect(link, &client) && PtInRect(&client, at)) {
    platform_events::ControlClicked(FromNative(link));
  }
}

LRESULT CALLBACK LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnLinkPaint(link);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole control
    case WM_SETFONT:
      SetWindowLongPtrA(link, kLinkFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(link, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrA(link, kLinkFontSlot);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(link, message, wParam, lParam);
      InvalidateRect(link, nullptr, TRUE);
      return result;
    }
    case WM_LBUTTONDOWN:
      SetCapture(link);
      SetWindowLongPtrA(link, kLinkPressedSlot, 1);
      return 0;
    case WM_LBUTTONUP:
      OnLinkButtonUp(link, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      SetWindowLongPtrA(link, kLinkPressedSlot, 0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(link, message, wParam, lParam);
}

}  // namespace
}  // namespace win32

namespace platform {

Window CreateControl(Window parent, const ControlSpec& params) {
  if (parent == nullptr) return nullptr;  // a control is always somebody's child
  if (params.controlClass == ControlClass::HyperLinker && !win32::linkClassRegistered) {
    win32::linkClassRegistered = win32::RegisterWindowClass(
        win32::kHyperLinkerClass, win32::LinkProcedure, win32::kLinkExtraBytes);
    if (!win32::linkClassRegistered) return nullptr;
  }
  const win32::NativeControl native = win32::Describe(params);
  const char* text = params.text != nullptr ? params.text : "";
  // The menu argument of a child is its control id: the control's 32-bit identity.
  const auto menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(params.id));
  const HWND control =
      params.controlClass == ControlClass::Edit
          ? win32::CreateUnicodeEdit(native, text, params.rect, win32::ToNative(parent), menu)
          : CreateWindowExA(native.exStyle, native.className, text, native.style, params.rect.left,
                            params.rect.top, params.rect.width, params.rect.height,
                            win32::ToNative(parent), menu, GetModuleHandleA(nullptr), nullptr);
  if (control == nullptr) return nullptr;
  if (!win32::AttachControlColors(win32::ToNative(parent), control, params.textColor,
                                  params.backColor)) {
    DestroyWindow(control);
    return nullptr;
  }
  if (params.controlClass == ControlClass::Edit) {
    // 0 asks for the largest limit the system has.
    SendMessageA(control, EM_SETLIMITTEXT, params.maxLength, 0);
  }
  return win32::FromNative(control);
}

Font MakeFont(const FontSpec& params) {
  if (params.face == nullptr) {
    // A stock object: never deleted (DestroyFont knows it).
    return reinterpret_cast<Font>(GetStockObject(DEFAULT_GUI_FONT));
  }
  // A negative height asks for the character height, without internal leading.
  const HFONT font = CreateFontA(-params.charHeight, 0, 0, 0, params.weight, params.italic,
                                 params.underline, params.strikeOut, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                 DEFAULT_PITCH, params.face);
  return reinterpret_cast<Font>(font);
}

void SetControlFont(Window control, Font font) {
  if (control == nullptr) return;
  // The control does not own the font: the logic keeps it until the control is gone.
  SendMessageA(win32::ToNative(control), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void DestroyFont(Font font) {
  if (font == nullptr || reinterpret_cast<HGDIOBJ>(font) == GetStockObject(DEFAULT_GUI_FONT)) {
    return;
  }
  DeleteObject(reinterpret_cast<HGDIOBJ>(font));
}

bool SetProgramIcon(Window window) {
  if (window == nullptr) return false;
  // Size 0, 0 without LR_DEFAULTSIZE: the image at its own size, 48 x 48, for both icons.
  // A shared icon belongs to the system; it is never destroyed.
  const HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0,
                                 LR_SHARED);
  if (icon == nullptr) return false;
  const HWND native = win32::ToNative(window);
  SendMessageA(native, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(native, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  return true;
}

void SetEditSelection(Window edit, std::uint32_t start, std::uint32_t length) {
  if (edit == nullptr) return;
  const HWND native = win32::ToNative(edit);
  // The end saturates: a selection past the text ends at the text's end.
  const std::uint32_t end = length > 0xFFFFFFFFu - start ? 0xFFFFFFFFu : start + length;
  SendMessageA(native, EM_SETSEL, start, static_cast<LPARAM>(end));
  SendMessageA(native, EM_SCROLLCARET, 0, 0);
}

CheckState GetCheck(Window button) {
  switch (SendMessageA(win32::ToNative(button), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return CheckState::Checked;
    case BST_INDETERMINATE: return CheckState::Indeterminate;
    default: return CheckState::Unchecked;
  }
}

void SetCheck(Window button, bool checked) {
  SendMessageA(win32::ToNative(button), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace platform
