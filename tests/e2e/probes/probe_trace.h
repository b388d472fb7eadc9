// What the test-only programs leave behind for the driver: one line per event in probe.log next
// to the program file, appended as it happens, so that a line is on disk before anything that
// might end the process.
#pragma once

#include <windows.h>

#include <string>

namespace ulmora::probe {

inline std::string TracePath() {
  char path[MAX_PATH * 2];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string result(path, length < sizeof path ? length : 0);
  result.resize(result.find_last_of('\\') + 1);
  return result + "probe.log";
}

inline void Trace(const std::string& line) {
  const std::string text = line + "\n";
  HANDLE file = CreateFileA(TracePath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace ulmora::probe
