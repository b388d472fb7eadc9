// The program's entry: the shell runs Ulmora, then shuts down and hands back the quit code.
#include "app/shell.h"
#include "win32/win32_prelude.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ulmora::ProgramEntry();
  ulmora::ShutDown();
  return ulmora::QuitCode();
}
