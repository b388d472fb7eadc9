// A loaded window: its description, the event bindings resolved to the program's routines,
// and, while it is open, its native window and the live state of its controls.
#pragma once

#include <cstdint>

#include "launch/hyper_linker.h"
#include "platform/platform.h"
#include "ui/window_description.h"

namespace ulmora {

struct ControlState {
  const ControlDescription* description;
  const EventHandler* handlers;  // parallel to description->bindings; null entries are unbound
  platform::Window window;       // null while the window is not open
  platform::Font font;           // null: the system's default font
  bool ownsFont;                 // false where the font is another control's, shared
  HyperLinker link;              // HyperLinker controls only
};

struct LoadedWindow {
  const WindowDescription* description;
  const EventHandler* handlers;  // parallel to description->bindings
  ControlState* controls;        // description->controlCount entries, in stored order
  platform::Window window;       // null while the window is not open
  platform::Window rememberedFocus;
};

// The loaded windows of the program, owned by the shell.
struct LoadedWindows {
  LoadedWindow* windows;
  std::uint32_t count;
};

// Loads every description with its bindings resolved against routines. False when a
// description cannot be used (no data, or a binding names no routine).
bool LoadWindows(const WindowDescription* const* descriptions, std::uint32_t count,
                 const ProgramRoutine* routines, std::uint32_t routineCount,
                 LoadedWindows* loaded);
// Destroys what is still open and releases everything that LoadWindows made.
void ReleaseWindows(LoadedWindows* loaded);

// The shell's loaded windows, installed once they are loaded; empty before and after.
void InstallLoadedWindows(const LoadedWindows* loaded);
const LoadedWindows& CurrentWindows();

LoadedWindow* FindWindowByIdentity(std::uint32_t identity);
LoadedWindow* FindWindowByNative(platform::Window window);
ControlState* FindControl(LoadedWindow* window, std::uint32_t identity);
ControlState* FindControlByNative(LoadedWindow* window, platform::Window native);

// Creates, stacks and shows the window from its description. owner null means none was given;
// a window kept off the task bar is then owned by hiddenToolWindow. False (with nothing left
// behind) when the window or a control cannot be created.
bool BuildWindow(LoadedWindow* window, platform::Window owner, platform::Window hiddenToolWindow);

// The native window is gone: forget it and release what belonged to it.
void ForgetNativeWindow(LoadedWindow* window);

}  // namespace ulmora
