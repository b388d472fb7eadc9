// A test-only program: Ulmora over a text heap of its own that refuses every request of exactly
// 1024 bytes, with an initialisation routine that asks for 1024 bytes before any window exists.
// Its exit routine traces "exit" to probe.log.
#include <windows.h>

#include "app/shell.h"
#include "platform/platform.h"
#include "probe_trace.h"
#include "text/text.h"

namespace platform {

void* HeapAllocate(std::uint32_t size) {
  if (size == 1024) return nullptr;
  return HeapAlloc(GetProcessHeap(), 0, size);
}

void HeapRelease(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace platform

namespace {

void AskForOneKibibyte() { ulmora::ReleaseText(ulmora::AllocateText(1024)); }
void TraceExit() { ulmora::probe::Trace("exit"); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ulmora::ProgramData data = ulmora::UlmoraProgram;
  data.init = &AskForOneKibibyte;
  data.exit = &TraceExit;
  ulmora::RunProgram(data);
  ulmora::ShutDown();
  return ulmora::QuitCode();
}
