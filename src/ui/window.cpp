#include "ui/window.h"

#include <cstring>
#include <new>

#include "text/text.h"

namespace ulmora {
namespace {

LoadedWindows installed = {nullptr, 0};

// Resolves count bindings into out; false when one names a routine the program lacks.
bool Resolve(const EventBinding* bindings, std::uint32_t count, const ProgramRoutine* routines,
             std::uint32_t routineCount, EventHandler* out) {
  for (std::uint32_t b = 0; b < count; ++b) {
    out[b] = nullptr;
    for (std::uint32_t r = 0; r < routineCount; ++r) {
      if (routines[r].id == bindings[b].handler) out[b] = routines[r].handler;
    }
    if (out[b] == nullptr) return false;
  }
  return true;
}

std::uint32_t BindingCount(const WindowDescription& d) {
  std::uint32_t total = d.bindingCount;
  for (std::uint32_t c = 0; c < d.controlCount; ++c) total += d.controls[c].bindingCount;
  return total;
}

// One block per window: the record, its control states, then its resolved handlers.
bool LoadOne(const WindowDescription* d, const ProgramRoutine* routines,
             std::uint32_t routineCount, LoadedWindow* out) {
  if (d == nullptr || (d->controlCount > 0 && d->controls == nullptr)) return false;
  const std::uint64_t size = std::uint64_t{sizeof(ControlState)} * d->controlCount +
                             std::uint64_t{sizeof(EventHandler)} * BindingCount(*d);
  if (size > UINT32_MAX) return false;
  void* block = size == 0 ? nullptr : AllocateText(static_cast<std::uint32_t>(size));
  auto* controls = static_cast<ControlState*>(block);
  auto* handlers = reinterpret_cast<EventHandler*>(controls + d->controlCount);
  *out = LoadedWindow{d, handlers, controls, nullptr, nullptr};
  bool resolved = Resolve(d->bindings, d->bindingCount, routines, routineCount, handlers);
  handlers += d->bindingCount;
  for (std::uint32_t c = 0; c < d->controlCount; ++c) {
    const ControlDescription& cd = d->controls[c];
    new (&controls[c]) ControlState{&cd, handlers, nullptr, nullptr, false, {}};
    resolved = resolved && Resolve(cd.bindings, cd.bindingCount, routines, routineCount, handlers);
    handlers += cd.bindingCount;
  }
  if (!resolved) {
    ReleaseText(static_cast<char*>(block));
    *out = LoadedWindow{};
  }
  return resolved;
}

}  // namespace

bool LoadWindows(const WindowDescription* const* descriptions, std::uint32_t count,
                 const ProgramRoutine* routines, std::uint32_t routineCount,
                 LoadedWindows* loaded) {
  *loaded = LoadedWindows{nullptr, 0};
  if (descriptions == nullptr || count == 0) return false;
  if (std::uint64_t{sizeof(LoadedWindow)} * count > UINT32_MAX) return false;
  auto* windows = reinterpret_cast<LoadedWindow*>(
      AllocateText(static_cast<std::uint32_t>(sizeof(LoadedWindow) * count)));
  loaded->windows = windows;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!LoadOne(descriptions[i], routines, routineCount, &windows[i])) {
      loaded->count = i;
      ReleaseWindows(loaded);
      return false;
    }
  }
  loaded->count = count;
  return true;
}

void ReleaseWindows(LoadedWindows* loaded) {
  for (std::uint32_t i = 0; i < loaded->count; ++i) {
    LoadedWindow& w = loaded->windows[i];
    if (w.window != nullptr) {
      const platform::Window native = w.window;
      platform::DestroyNativeWindow(native);
      if (w.window == native) ForgetNativeWindow(&w);  // the backend did not report it
    }
    for (std::uint32_t c = 0; c < w.description->controlCount; ++c) {
      ReleaseHyperLinker(&w.controls[c].link);
    }
    ReleaseText(reinterpret_cast<char*>(w.controls));
  }
  ReleaseText(reinterpret_cast<char*>(loaded->windows));
  *loaded = LoadedWindows{nullptr, 0};
}

void InstallLoadedWindows(const LoadedWindows* loaded) {
  installed = loaded != nullptr ? *loaded : LoadedWindows{nullptr, 0};
}

const LoadedWindows& CurrentWindows() { return installed; }

LoadedWindow* FindWindowByIdentity(std::uint32_t identity) {
  for (std::uint32_t i = 0; i < installed.count; ++i) {
    if (installed.windows[i].description->identity == identity) return &installed.windows[i];
  }
  return nullptr;
}

LoadedWindow* FindWindowByNative(platform::Window window) {
  if (window == nullptr) return nullptr;
  for (std::uint32_t i = 0; i < installed.count; ++i) {
    if (installed.windows[i].window == window) return &installed.windows[i];
  }
  return nullptr;
}

ControlState* FindControl(LoadedWindow* window, std::uint32_t identity) {
  for (std::uint32_t c = 0; c < window->description->controlCount; ++c) {
    if (window->controls[c].description->identity == identity) return &window->controls[c];
  }
  return nullptr;
}

ControlState* FindControlByNative(LoadedWindow* window, platform::Window native) {
  if (native == nullptr) return nullptr;
  for (std::uint32_t c = 0; c < window->description->controlCount; ++c) {
    if (window->controls[c].window == native) return &window->controls[c];
  }
  return nullptr;
}

void ForgetNativeWindow(LoadedWindow* window) {
  for (std::uint32_t c = 0; c < window->description->controlCount; ++c) {
    ControlState& control = window->controls[c];
    control.window = nullptr;
    control.link.window = nullptr;
    if (control.ownsFont) platform::DestroyFont(control.font);
    control.font = nullptr;
    control.ownsFont = false;
  }
  window->window = nullptr;
  window->rememberedFocus = nullptr;
}

}  // namespace ulmora
