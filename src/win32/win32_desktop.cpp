// The desktop: the shell's "open" verb, the registry's document classes and command lines.
#include "platform/platform.h"
#include "win32/win32_internal.h"

namespace platform {
namespace {

HKEY ToNativeKey(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

std::intptr_t ShellOpen(const char* target, int showMode) {
  if (target == nullptr) return SE_ERR_FNF;
  // The shell library (and what it pulls in) is loaded at the first search, not at start-up.
  using ShellExecuteProc = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static ShellExecuteProc shellExecute = nullptr;
  if (shellExecute == nullptr) {
    const HMODULE shell = LoadLibraryA("shell32.dll");
    if (shell != nullptr) {
      shellExecute = reinterpret_cast<ShellExecuteProc>(
          reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    }
    // Without it the shell cannot open anything: the fallback takes over.
    if (shellExecute == nullptr) return SE_ERR_NOASSOC;
  }
  return reinterpret_cast<std::intptr_t>(
      shellExecute(nullptr, "open", target, nullptr, nullptr, showMode));
}

std::int32_t OpenClassKey(const char* path, RegistryKey* key) {
  if (key == nullptr) return ERROR_INVALID_PARAMETER;
  *key = nullptr;
  if (path == nullptr) return ERROR_INVALID_PARAMETER;
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_QUERY_VALUE, &opened);
  if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegistryKey>(opened);
  return result;
}

std::int32_t QueryDefaultValue(RegistryKey key, char* buffer, std::uint32_t capacity) {
  if (key == nullptr || buffer == nullptr) return ERROR_INVALID_PARAMETER;
  if (capacity == 0) return ERROR_MORE_DATA;
  DWORD type = REG_NONE;
  DWORD size = capacity;
  const LONG result = RegQueryValueExA(ToNativeKey(key), nullptr, nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer), &size);
  if (result != ERROR_SUCCESS) return result;  // ERROR_FILE_NOT_FOUND when there is no value
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATATYPE;
  if (size > capacity) return ERROR_MORE_DATA;  // a success never claims more than it was given
  // The stored data need not end with a terminator: add one when it is missing and fits.
  if (size > 0 && buffer[size - 1] == '\0') return ERROR_SUCCESS;
  if (size == capacity) return ERROR_MORE_DATA;
  buffer[size] = '\0';
  return ERROR_SUCCESS;
}

void CloseClassKey(RegistryKey key) {
  if (key != nullptr) RegCloseKey(ToNativeKey(key));
}

std::uint32_t StartCommandLine(const char* commandLine, int showMode) {
  if (commandLine == nullptr) return ERROR_FILE_NOT_FOUND;
  return WinExec(commandLine, static_cast<UINT>(showMode));
}

}  // namespace platform
