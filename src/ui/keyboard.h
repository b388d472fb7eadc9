// The window's own keyboard handling and focus rules: Tab and Shift+Tab, the arrow keys within
// the radio group, Enter, Esc, and the key-down events that it raises for its controls.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "ui/window.h"

namespace ulmora {

namespace key {
inline constexpr std::uint32_t kTab = 0x09;
inline constexpr std::uint32_t kEnter = 0x0D;
inline constexpr std::uint32_t kShift = 0x10;
inline constexpr std::uint32_t kControl = 0x11;
inline constexpr std::uint32_t kAlt = 0x12;
inline constexpr std::uint32_t kEscape = 0x1B;
inline constexpr std::uint32_t kLeft = 0x25;
inline constexpr std::uint32_t kUp = 0x26;
inline constexpr std::uint32_t kRight = 0x27;
inline constexpr std::uint32_t kDown = 0x28;
inline constexpr std::uint32_t kF1 = 0x70;
}  // namespace key

namespace modifier {
inline constexpr std::uint32_t kCtrl = 1;
inline constexpr std::uint32_t kShift = 2;
inline constexpr std::uint32_t kAlt = 4;
}  // namespace modifier

// The key code that a key-down event carries for a key message's key parameter.
std::int32_t EventKeyCode(std::uint32_t keyParameter);
// The modifiers of a key-down event: those held, without the bit of the key going down itself.
std::uint32_t EventModifiers(std::uint32_t keyParameter, std::uint32_t held);

// The navigation candidates of window in navigation order; returns how many were written to
// out (at most capacity). With radioOnly, only RadioBox controls whose parent is `parent`.
std::uint32_t NavigationOrder(const LoadedWindow& window, bool radioOnly, std::uint32_t parent,
                              ControlState** out, std::uint32_t capacity);

enum class Direction : std::uint8_t { Forward, Backward };

void MoveFocus(LoadedWindow* window, platform::Window focus, Direction direction, bool radioOnly);

// The window received the keyboard focus: hand it to the remembered control or the first one.
void FocusOnActivation(LoadedWindow* window);
// The window was deactivated while focus held the keyboard focus.
void RememberFocus(LoadedWindow* window, platform::Window focus);

// Pre-translation of a key-down or system key-down for the window or one of its controls.
// True when the message is consumed and must not be dispatched.
bool PreTranslateKey(LoadedWindow* window, const platform::Message& message);

}  // namespace ulmora
