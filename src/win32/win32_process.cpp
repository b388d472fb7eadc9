// Process services: the program file's path, the working directory, the code page's lead bytes,
// component services, the error box and the exit.
#include "platform/platform.h"
#include "win32/win32_prelude.h"

namespace platform {
namespace {

// Longer than any path the system hands out (32767 UTF-16 units, at most three ANSI bytes each).
// GetModuleFileNameA is never asked for more: Wine allocates twice the requested size for its
// wide copy, so a huge capacity would make it fail for want of memory.
constexpr DWORD kLongestPathBytes = 3 * 32767 + 1;

// The path did not fit: Windows XP and Wine then fill all `capacity` bytes and add no terminator,
// later Windows keep the last byte for a terminator. Fetching once more with one byte to spare
// gives the port's promise, all `capacity` bytes of the path, on both.
std::uint32_t CopyCutPath(char* buffer, DWORD capacity) {
  const HANDLE heap = GetProcessHeap();
  if (heap == nullptr) return 0;
  char* whole = static_cast<char*>(HeapAlloc(heap, 0, capacity + 1));
  if (whole == nullptr) return 0;
  const DWORD copied = GetModuleFileNameA(nullptr, whole, capacity + 1);
  std::uint32_t result = 0;
  if (copied >= capacity) {
    CopyMemory(buffer, whole, capacity);
    result = capacity;
  } else if (copied > 0) {
    CopyMemory(buffer, whole, copied + 1);  // shorter now: whole and terminated after all
    result = copied;
  }
  HeapFree(heap, 0, whole);
  return result;
}

}  // namespace

std::uint32_t ProgramFilePath(char* buffer, std::uint32_t capacity) {
  if (buffer == nullptr || capacity == 0) return 0;
  const DWORD asked = capacity < kLongestPathBytes ? capacity : kLongestPathBytes;
  const DWORD copied = GetModuleFileNameA(nullptr, buffer, asked);
  if (copied < asked) return copied;  // whole and terminated; 0 when it failed
  if (asked < capacity) return 0;     // longer than any path can be: not to be trusted
  return CopyCutPath(buffer, capacity);
}

void SetWorkingDirectory(const char* path) {
  if (path == nullptr) return;
  SetCurrentDirectoryA(path);  // start-up goes on whether or not it worked
}

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

bool StartComponentServices() {
  const HRESULT result = OleInitialize(nullptr);
  // S_FALSE: already started on this thread; the count went up all the same.
  return result == S_OK || result == S_FALSE;
}

void StopComponentServices() { OleUninitialize(); }

void ShowErrorBox(const char* caption, const char* text) {
  // Nothing is left to report to when the box itself cannot be shown.
  MessageBoxA(nullptr, text != nullptr ? text : "", caption != nullptr ? caption : "",
              MB_ICONERROR | MB_OK);
}

void EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace platform
