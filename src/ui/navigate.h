// The navigate command: opens the current target of a link control.
#pragma once

#include <cstdint>

namespace ulmora {

// Runs the link control's open with show mode 5 and drops its outcome. Ends the program when
// the window or the control does not exist or is not open.
void Navigate(std::uint32_t window, std::uint32_t control);

}  // namespace ulmora
