// The stand-in browser of the end-to-end tests. Every start appends one record to recorder.log
// next to its own program file and exits at once. A record is one line,
//
//   cmdline=<hex> cwd=<hex> created=<hex> argc=<n> argv=<hex>,<hex>,...
//
// with the exact bytes of GetCommandLineA() and GetCurrentDirectoryA() (ANSI code page), the
// process's creation time (FILETIME, 100 ns units) and the arguments as CommandLineToArgvW splits
// the command line, each as UTF-8. Records of browsers started close together may be written in
// any order; their creation times give the order in which they were started. Hex keeps every byte
// (quotes, spaces, GBK, line breaks) intact; tests/e2e/driver.h parses it.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

void AppendHex(std::string& out, const char* bytes, size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < count; ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
}

std::string ComposeRecord() {
  std::string record = "cmdline=";
  const char* commandLine = GetCommandLineA();
  AppendHex(record, commandLine, lstrlenA(commandLine));

  record += " cwd=";
  char cwd[MAX_PATH * 2];
  const DWORD cwdLength = GetCurrentDirectoryA(sizeof cwd, cwd);
  if (cwdLength < sizeof cwd) AppendHex(record, cwd, cwdLength);

  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  char createdHex[17];
  wsprintfA(createdHex, "%08lx%08lx", created.dwHighDateTime, created.dwLowDateTime);
  record += " created=";
  record += createdHex;

  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr) argc = 0;
  record += " argc=" + std::to_string(argc) + " argv=";
  for (int i = 0; i < argc; ++i) {
    if (i > 0) record += ',';
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8.data(), size, nullptr, nullptr);
    AppendHex(record, utf8.data(), lstrlenA(utf8.c_str()));
  }
  LocalFree(argv);
  record += '\n';
  return record;
}

std::wstring LogPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring result(path, length);
  result.resize(result.find_last_of(L'\\') + 1);
  return result + L"recorder.log";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string record = ComposeRecord();
  const std::wstring path = LogPath();
  // Many starts may arrive at once (a burst of searches): the file is opened without sharing, so
  // each record is written whole by one process while the others wait their turn.
  for (int attempt = 0; attempt < 30000; ++attempt) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      SetFilePointer(file, 0, nullptr, FILE_END);
      const BOOL ok = WriteFile(file, record.data(), record.size(), &written, nullptr);
      CloseHandle(file);
      return ok && written == record.size() ? 0 : 1;
    }
    if (GetLastError() != ERROR_SHARING_VIOLATION) return 2;
    Sleep(1);
  }
  return 3;
}
