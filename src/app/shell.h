// The application shell: start-up, the event loop, shutdown and the process's exit code.
#pragma once

#include <cstdint>

#include "ui/window_description.h"

namespace ulmora {

using Routine = void (*)();

// What a program hands to the shell: its stored window descriptions, the routines that their
// event bindings name, its own two routines and the identity of its start window.
struct ProgramData {
  const WindowDescription* const* windows;  // null: the stored data cannot be read
  std::uint32_t windowCount;
  const ProgramRoutine* routines;
  std::uint32_t routineCount;
  Routine init;
  Routine exit;
  std::uint32_t startWindow;
};

// Ulmora's own data: MainWindow bound to the search command.
extern const ProgramData UlmoraProgram;

// The program's start-up routine: runs Ulmora and returns 0 once the event loop has ended.
int ProgramEntry();
// The same sequence over any program's data (test programs use their own).
int RunProgram(const ProgramData& program);

void InitializeShell(const ProgramData& program);
void ProgramInit();
void ProgramExit();
void RegisterExitRoutine(Routine routine);
void LoadWindow(std::uint32_t windowIdentity);
void RunEventLoop();
bool AnyWindowOpen();
// Ordered release at the end; safe to call more than once.
void ShutDown();

// The code carried by the quit request that ended the loop (0 when the loop never ran).
int QuitCode();

// Forgets everything the shell held, for a fresh start in the same process (tests).
void ResetShellState();

}  // namespace ulmora
