// The single route for conditions the program cannot continue from, and the event-suppression
// counter that it raises first.
#pragma once

#include <cstdint>

namespace ulmora {

// Raised while a window's controls are built, and for good by shutdown and the fatal report.
// While it is above 0 no control event reaches a program handler.
void RaiseEventSuppression();
void LowerEventSuppression();
std::uint32_t EventSuppression();

// What the fatal report runs between the box and the exit; the shell installs it at start-up.
using FatalShutdownStep = void (*)();
void InstallFatalShutdownStep(FatalShutdownStep step);

// Writes the box text for message into buffer (always terminated, cut short at a character
// boundary when it does not fit) and returns its length.
std::uint32_t ComposeFatalText(const char* message, char* buffer, std::uint32_t capacity);

// Shows the error box, shuts down without the exit routine and ends the process with -1.
[[noreturn]] void ReportFatalError(const char* message);

}  // namespace ulmora
