#include "ui/keyboard.h"

#include "ui/events.h"

namespace ulmora {
namespace {

bool TakesPartInNavigation(ControlKind kind) {
  return kind == ControlKind::EditBox || kind == ControlKind::Button ||
         kind == ControlKind::RadioBox;
}

bool IsCandidate(const ControlState& c, bool radioOnly, std::uint32_t parent) {
  const ControlDescription& d = *c.description;
  if (radioOnly && (d.kind != ControlKind::RadioBox || d.parent != parent)) return false;
  return c.window != nullptr && d.tabStop && TakesPartInNavigation(d.kind) &&
         platform::WindowVisible(c.window) && platform::WindowEnabled(c.window);
}

// Navigation order is ascending TabOrder, and among equal ones the control stored last first:
// a total order on (TabOrder, reversed stored position).
struct OrderKey {
  std::int32_t tabOrder;
  std::uint32_t reversedPosition;
  bool operator<(const OrderKey& o) const {
    return tabOrder != o.tabOrder ? tabOrder < o.tabOrder : reversedPosition < o.reversedPosition;
  }
};

OrderKey KeyOf(const LoadedWindow& window, const ControlState* c) {
  const std::uint32_t position = static_cast<std::uint32_t>(c - window.controls);
  return {c->description->tabOrder, window.description->controlCount - 1 - position};
}

// The candidate after (or before) `from` in navigation order, wrapping around; null when there
// is no candidate at all. from null gives the first (or last) candidate.
ControlState* Step(LoadedWindow* window, const ControlState* from, Direction direction,
                   bool radioOnly, std::uint32_t parent) {
  ControlState* next = nullptr;  // nearest beyond `from` in the direction
  ControlState* wrap = nullptr;  // the extreme at the other end, for the wrap-around
  const bool forward = direction == Direction::Forward;
  for (std::uint32_t i = 0; i < window->description->controlCount; ++i) {
    ControlState* c = &window->controls[i];
    if (!IsCandidate(*c, radioOnly, parent)) continue;
    const OrderKey key = KeyOf(*window, c);
    if (wrap == nullptr || (forward ? key < KeyOf(*window, wrap) : KeyOf(*window, wrap) < key)) {
      wrap = c;
    }
    if (from == nullptr) continue;
    const OrderKey origin = KeyOf(*window, from);
    const bool beyond = forward ? origin < key : key < origin;
    if (beyond && (next == nullptr ||
                   (forward ? key < KeyOf(*window, next) : KeyOf(*window, next) < key))) {
      next = c;
    }
  }
  return next != nullptr ? next : wrap;
}

bool ClaimsKey(const ControlState* c, std::uint32_t keyParameter) {
  if (c == nullptr || c->description->kind != ControlKind::EditBox) return false;
  const EditBoxSettings& e = *c->description->edit;
  return keyParameter == key::kEnter && e.multiline && e.inputMode != 1;
}

bool IsDefaultButton(const ControlState& c) {
  return c.description->kind == ControlKind::Button && c.description->button->buttonKind == 1 &&
         c.window != nullptr && platform::WindowEnabled(c.window);
}

void Press(ControlState* button) {
  DeliverControlEvent(button, event::kClick, {{0, 0}, 0});
}

// Enter's own handling; true when it acted and the key is withheld.
bool HandleEnter(LoadedWindow* window, ControlState* focused) {
  if (focused != nullptr && IsDefaultButton(*focused)) {
    Press(focused);
    return true;
  }
  if (window->description->settings.enterMovesFocus) {
    MoveFocus(window, focused != nullptr ? focused->window : nullptr, Direction::Forward, false);
    return true;
  }
  for (std::uint32_t i = 0; i < window->description->controlCount; ++i) {
    if (IsDefaultButton(window->controls[i])) {
      Press(&window->controls[i]);
      return true;
    }
  }
  return false;
}

}  // namespace

std::int32_t EventKeyCode(std::uint32_t keyParameter) {
  const std::uint32_t code = keyParameter & 0xFF;
  if (code >= 0x60 && code <= 0x69) return static_cast<std::int32_t>('0' + (code - 0x60));
  switch (code) {
    case 0x6D: return 189;  // keypad minus
    case 0x6E: return 190;  // keypad decimal point
    case 0x6F: return 191;  // keypad divide
    default: return static_cast<std::int32_t>(code);
  }
}

std::uint32_t EventModifiers(std::uint32_t keyParameter, std::uint32_t held) {
  switch (keyParameter & 0xFF) {
    case 0x11: case 0xA2: case 0xA3: return held & ~modifier::kCtrl;
    case 0x10: case 0xA0: case 0xA1: return held & ~modifier::kShift;
    case 0x12: case 0xA4: case 0xA5: return held & ~modifier::kAlt;
    default: return held;
  }
}

std::uint32_t NavigationOrder(const LoadedWindow& window, bool radioOnly, std::uint32_t parent,
                              ControlState** out, std::uint32_t capacity) {
  auto* w = const_cast<LoadedWindow*>(&window);
  ControlState* first = Step(w, nullptr, Direction::Forward, radioOnly, parent);
  std::uint32_t n = 0;
  for (ControlState* c = first; c != nullptr && n < capacity;) {
    out[n++] = c;
    c = Step(w, c, Direction::Forward, radioOnly, parent);
    if (c == first) break;
  }
  return n;
}

void MoveFocus(LoadedWindow* window, platform::Window focus, Direction direction,
               bool radioOnly) {
  ControlState* focused = FindControlByNative(window, focus);
  if (focused == nullptr) return;
  const std::uint32_t parent = focused->description->parent;
  ControlState* chosen = Step(window, focused, direction, radioOnly, parent);
  if (chosen == nullptr || chosen == focused) return;
  if (radioOnly) {
    for (std::uint32_t i = 0; i < window->description->controlCount; ++i) {
      const ControlState& c = window->controls[i];
      if (c.description->kind == ControlKind::RadioBox && c.description->parent == parent &&
          c.window != nullptr) {
        platform::SetCheck(c.window, false);
      }
    }
    platform::SetCheck(chosen->window, true);
    DeliverControlEvent(chosen, event::kClick, {{0, 0}, 0});
    if (chosen->window == nullptr) return;  // the handler closed the window
  }
  platform::SetFocusTo(chosen->window);
}

void FocusOnActivation(LoadedWindow* window) {
  const platform::Window remembered = window->rememberedFocus;
  if (remembered != nullptr && platform::WindowExists(remembered) &&
      FindControlByNative(window, remembered) != nullptr) {
    platform::SetFocusTo(remembered);
    return;
  }
  ControlState* first = Step(window, nullptr, Direction::Forward, false, 0);
  if (first != nullptr) platform::SetFocusTo(first->window);
}

void RememberFocus(LoadedWindow* window, platform::Window focus) {
  window->rememberedFocus = FindControlByNative(window, focus) != nullptr ? focus : nullptr;
}

bool PreTranslateKey(LoadedWindow* window, const platform::Message& message) {
  const platform::Window target = message.target;
  ControlState* control = FindControlByNative(window, target);
  if (control == nullptr && target != window->window) return false;
  if (!platform::WindowEnabled(target)) return false;

  const std::uint32_t keyParameter = message.key;
  const std::uint32_t held = platform::HeldKeyModifiers();
  const bool claimed = ClaimsKey(control, keyParameter);
  const bool isRadio = control != nullptr && control->description->kind == ControlKind::RadioBox;

  switch (keyParameter) {
    case key::kTab:
      if (claimed || (held != 0 && held != modifier::kShift)) break;
      MoveFocus(window, target, held == 0 ? Direction::Forward : Direction::Backward, false);
      return true;
    case key::kEnter:
      if (held == 0 && !claimed && HandleEnter(window, control)) return true;
      break;
    case key::kEscape:
      if (held == 0 && !claimed && window->description->settings.escCloses) {
        platform::RequestClose(window->window);
        return true;
      }
      break;
    case key::kLeft:
    case key::kUp:
    case key::kRight:
    case key::kDown:
      if (held == 0 && isRadio) {
        const bool forward = keyParameter == key::kRight || keyParameter == key::kDown;
        MoveFocus(window, target, forward ? Direction::Forward : Direction::Backward, true);
        return true;
      }
      break;
    default:
      // F1 opens help only where a window asks for it, and no caption here marks a mnemonic:
      // both go on like any other key.
      break;
  }

  if (control == nullptr) return false;  // the window's own key-down has no binding
  const EventArgs args = {
      {EventKeyCode(keyParameter), static_cast<std::int32_t>(EventModifiers(keyParameter, held))},
      2};
  const HandlerResult result = DeliverControlEvent(control, event::kKeyDown, args);
  if (!platform::WindowExists(target)) return true;  // dropped: its window is gone
  return result.hasValue && result.value == 0;
}

}  // namespace ulmora
