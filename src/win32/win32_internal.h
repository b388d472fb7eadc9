// What the backend's files share among themselves: handle conversions, window classes and the
// per-control colour records that the top-level window keeps.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "win32/win32_prelude.h"

namespace win32 {

inline HWND ToNative(platform::Window window) { return reinterpret_cast<HWND>(window); }
inline platform::Window FromNative(HWND window) {
  return reinterpret_cast<platform::Window>(window);
}

inline constexpr char kTopLevelClass[] = "UlmoraWindow";
inline constexpr char kToolWindowClass[] = "UlmoraToolWindow";
inline constexpr char kHyperLinkerClass[] = "UlmoraHyperLinker";

// Registers a window class of this module with class style 0, the arrow cursor, no icon and no
// background brush. False when the system refuses it.
bool RegisterWindowClass(const char* name, WNDPROC procedure, int windowExtraBytes);

// A colour value of the port (0x00BBGGRR or kSystemButtonFace) as the system's colour, looked up
// now for the system colour.
COLORREF ResolveColor(std::uint32_t color);

// Records the text and back colour that `parent` paints `control` with. A parent that is not one
// of the backend's top-level windows keeps no record (the control then has the system's colours).
// False when the record or its brush cannot be made.
bool AttachControlColors(HWND parent, HWND control, std::uint32_t textColor,
                         std::uint32_t backColor);

}  // namespace win32
