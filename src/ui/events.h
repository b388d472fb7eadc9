// Event delivery: a control's event reaches the handler bound in the window description,
// unless event suppression is above 0.
#pragma once

#include <cstdint>

#include "ui/window.h"

namespace ulmora {

// Calls the handler bound to the control's event; no handler (or suppression) gives no value.
HandlerResult DeliverControlEvent(ControlState* control, std::int32_t event, const EventArgs& args);

// By identity, as a program raises it. Ends the program when the window is not loaded, the
// control is not in its description, or the control is not there to raise it.
HandlerResult RaiseEvent(std::uint32_t windowIdentity, std::uint32_t controlIdentity,
                         std::int32_t event, const EventArgs& args);

// A native control reported a click: its click event, or opening the target of a link control.
void ControlClicked(platform::Window control);

}  // namespace ulmora
