#include "driver.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace ulmora::e2e {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

Settings ReadSettings() {
  Settings s{};
  s.program = Environment("ULMORA_E2E_PROGRAM");
  s.recorder = Environment("ULMORA_E2E_RECORDER");
  s.recorderLog = s.recorder.substr(0, s.recorder.find_last_of('\\') + 1) + "recorder.log";
  s.artefacts = Environment("ULMORA_E2E_ARTEFACTS");
  const std::string screen = Environment("ULMORA_E2E_SCREEN");
  s.screen.cx = std::atoi(screen.c_str());
  const size_t x = screen.find('x');
  s.screen.cy = x == std::string::npos ? 0 : std::atoi(screen.c_str() + x + 1);
  return s;
}

std::string Hex(char c) {
  static const char kDigits[] = "0123456789abcdef";
  const unsigned char b = static_cast<unsigned char>(c);
  return {'\\', 'x', kDigits[b >> 4], kDigits[b & 15]};
}

std::optional<std::string> FromHex(const std::string& hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    const std::string pair = hex.substr(i, 2);
    const long b = std::strtol(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) return std::nullopt;
    bytes += static_cast<char>(b);
  }
  return bytes;
}

std::optional<Record> ParseRecord(const std::string& line) {
  Record record;
  std::istringstream fields(line);
  std::string field;
  while (fields >> field) {
    const size_t eq = field.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const std::string key = field.substr(0, eq);
    const std::string value = field.substr(eq + 1);
    if (key == "cmdline" || key == "cwd") {
      auto bytes = FromHex(value);
      if (!bytes) return std::nullopt;
      (key == "cmdline" ? record.commandLine : record.workingDirectory) = *bytes;
    } else if (key == "created") {
      char* end = nullptr;
      record.created = std::strtoull(value.c_str(), &end, 16);
      if (value.empty() || *end != '\0') return std::nullopt;
    } else if (key == "argv") {
      size_t start = 0;
      while (start <= value.size() && !value.empty()) {
        const size_t comma = std::min(value.find(',', start), value.size());
        auto bytes = FromHex(value.substr(start, comma - start));
        if (!bytes) return std::nullopt;
        record.arguments.push_back(*bytes);
        start = comma + 1;
      }
    }
  }
  return record;
}

std::string Convert(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return text;
  const int wideSize = MultiByteToWideChar(from, 0, text.data(), text.size(), nullptr, 0);
  std::wstring wide(wideSize, L'\0');
  MultiByteToWideChar(from, 0, text.data(), text.size(), wide.data(), wideSize);
  const int size = WideCharToMultiByte(to, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(to, 0, wide.data(), wideSize, result.data(), size, nullptr, nullptr);
  return result;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(inputs.size(), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD virtualKey, bool up, bool extendedKey = false) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  if (extendedKey) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  switch (virtualKey) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_DIVIDE:
    case VK_RCONTROL: case VK_RMENU:
      input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
  }
  if (up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  return input;
}

std::vector<WORD> ModifierKeys(unsigned modifiers) {
  std::vector<WORD> keys;
  if (modifiers & kCtrl) keys.push_back(VK_CONTROL);
  if (modifiers & kShift) keys.push_back(VK_SHIFT);
  if (modifiers & kAlt) keys.push_back(VK_MENU);
  return keys;
}

bool OpenClassKey(const std::string& keyPath, HKEY* key) {
  return RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                         nullptr, key, nullptr) == ERROR_SUCCESS;
}

}  // namespace

const Settings& GetSettings() {
  static const Settings settings = ReadSettings();
  return settings;
}

std::string HelperProgram(const std::string& name) {
  return Environment(("ULMORA_E2E_HELPER_" + name).c_str());
}

bool WaitUntil(const std::function<bool()>& done, Milliseconds timeout) {
  const ULONGLONG deadline = GetTickCount64() + timeout.count();
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    // A window of the driver's (another program for the one under test to lose the focus to)
    // is activated and deactivated through sent messages: keep them flowing.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
  return true;
}

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (char c : bytes) {
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out += c;
    } else {
      out += Hex(c);
    }
  }
  return out;
}

// ---- Process ----

Process::Process(Process&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Terminate();
    info_ = other.info_;
    other.info_ = {};
  }
  return *this;
}

Process::~Process() { Terminate(); }

Process Process::Start(const std::string& commandLine, const std::string& workingDirectory) {
  Process process;
  std::string line = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                      &process.info_)) {
    process.info_ = {};
  }
  return process;
}

bool Process::Running() const {
  return started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(Milliseconds timeout) {
  if (!started() || WaitForSingleObject(info_.hProcess, timeout.count()) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Process::Terminate() {
  if (!started()) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 0xDEAD);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

// ---- Windows of another process ----

HWND WaitForTopLevelWindow(DWORD processId, const char* className, Milliseconds timeout) {
  struct Search {
    DWORD processId;
    const char* className;
    HWND found;
  } search{processId, className, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
              auto* s = reinterpret_cast<Search*>(param);
              DWORD owner = 0;
              GetWindowThreadProcessId(window, &owner);
              if (owner == s->processId && IsWindowVisible(window) &&
                  ClassName(window) == s->className) {
                s->found = window;
                return FALSE;
              }
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout);
  return search.found;
}

HWND FindControl(HWND window, int controlId) {
  if (window == nullptr) return nullptr;
  for (HWND child : ChildrenTopToBottom(window)) {
    if (GetDlgCtrlID(child) == controlId) return child;
  }
  return nullptr;
}

std::vector<HWND> ChildrenTopToBottom(HWND window) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::string ClassName(HWND window) {
  char name[256];
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

std::string WindowText(HWND window) {
  // GetWindowTextA does not ask another process's control for its text; WM_GETTEXT does.
  const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) * 2 + 2, '\0');
  const LRESULT copied = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT RectInParentClient(HWND child) {
  RECT rect = WindowRect(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientRect(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

LONG_PTR Style(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }
LONG_PTR ExStyle(HWND window) { return GetWindowLongPtrA(window, GWL_EXSTYLE); }

bool IsChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

GUITHREADINFO GuiThreadInfo(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

bool WaitForFocus(HWND control, Milliseconds timeout) {
  return WaitUntil([&] { return GuiThreadInfo(control).hwndFocus == control; }, timeout);
}

std::optional<std::string> WorkingDirectoryOf(HANDLE process) {
  // The documented layout of the 64-bit PEB and its process parameters; the working directory
  // is ProcessParameters->CurrentDirectory.DosPath, kept up to date by SetCurrentDirectory.
  struct BasicInformation {
    LONG_PTR exitStatus;
    ULONG_PTR pebBaseAddress;
    ULONG_PTR affinityMask, basePriority, uniqueProcessId, inheritedFrom;
  } basic{};
  using QueryInformationProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryInformationProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  if (query == nullptr || query(process, 0, &basic, sizeof basic, nullptr) != 0) return std::nullopt;

  auto read = [&](ULONG_PTR address, void* out, size_t size) {
    SIZE_T got = 0;
    return ReadProcessMemory(process, reinterpret_cast<void*>(address), out, size, &got) &&
           got == size;
  };
  constexpr ULONG_PTR kProcessParametersOffset = 0x20;  // in the PEB
  constexpr ULONG_PTR kCurrentDirectoryOffset = 0x38;   // in RTL_USER_PROCESS_PARAMETERS
  ULONG_PTR parameters = 0;
  struct {
    USHORT length, maximumLength;
    ULONG padding;
    ULONG_PTR buffer;
  } dosPath{};
  if (!read(basic.pebBaseAddress + kProcessParametersOffset, &parameters, sizeof parameters) ||
      !read(parameters + kCurrentDirectoryOffset, &dosPath, sizeof dosPath)) {
    return std::nullopt;
  }
  std::wstring path(dosPath.length / sizeof(wchar_t), L'\0');
  if (!read(dosPath.buffer, path.data(), dosPath.length)) return std::nullopt;
  if (path.size() > 3 && path.back() == L'\\') path.pop_back();  // "C:\" keeps its backslash
  const int size = WideCharToMultiByte(CP_ACP, 0, path.data(), path.size(), nullptr, 0, nullptr, nullptr);
  std::string ansi(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, path.data(), path.size(), ansi.data(), size, nullptr, nullptr);
  return ansi;
}

// ---- Input ----

bool BringToFront(HWND window) {
  // Wine without a window manager: when the X focus leaves a window of another Wine process,
  // that process may hand the foreground to the desktop just after this one took it. Asking
  // again then sticks.
  for (int attempt = 0; attempt < 10; ++attempt) {
    SetForegroundWindow(window);
    if (WaitUntil([&] { return GetForegroundWindow() == window; }, Milliseconds(300))) return true;
  }
  return false;
}

void MoveMouseTo(POINT screen) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Normalised absolute coordinates: 0..65535 spans the primary screen.
  input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / (height - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send({input});
  WaitUntil(
      [&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
      },
      Milliseconds(1000));
}

void ClickAt(POINT screen) {
  MoveMouseTo(screen);
  INPUT down{}, up{};
  down.type = up.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  Send({down, up});
}

void ClickInClient(HWND window, POINT client) {
  ClientToScreen(window, &client);
  ClickAt(client);
}

void ClickControl(HWND control) {
  const RECT rect = WindowRect(control);
  ClickAt(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

std::optional<POINT> FindHitTestPoint(HWND window, LRESULT code) {
  const RECT rect = WindowRect(window);
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.right - 1; x >= rect.left; --x) {
      if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code) {
        // The middle of the run of points on this row that answer the same.
        int left = x;
        while (left > rect.left &&
               SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y)) == code) {
          --left;
        }
        int bottom = y;
        while (bottom + 1 < rect.bottom &&
               SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, bottom + 1)) == code) {
          ++bottom;
        }
        return POINT{(left + x) / 2, (y + bottom) / 2};
      }
    }
  }
  return std::nullopt;
}

void PressKey(WORD virtualKey, unsigned modifiers, bool extendedKey) {
  std::vector<INPUT> inputs;
  const std::vector<WORD> held = ModifierKeys(modifiers);
  for (WORD key : held) inputs.push_back(KeyInput(key, false));
  inputs.push_back(KeyInput(virtualKey, false, extendedKey));
  inputs.push_back(KeyInput(virtualKey, true, extendedKey));
  for (auto key = held.rbegin(); key != held.rend(); ++key) inputs.push_back(KeyInput(*key, true));
  Send(inputs);
}

void PressKeys(const std::vector<WORD>& virtualKeys) {
  std::vector<INPUT> inputs;
  for (WORD key : virtualKeys) {
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
  }
  Send(inputs);
}

void HoldKey(WORD virtualKey, int repeats) {
  std::vector<INPUT> inputs(repeats, KeyInput(virtualKey, false));
  inputs.push_back(KeyInput(virtualKey, true));
  Send(inputs);
}

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = c;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(input);
    input.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  Send(inputs);
}

void SetText(HWND control, const std::string& ansiBytes) {
  SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansiBytes.c_str()));
}

// ---- The stand-in browser ----

std::ostream& operator<<(std::ostream& out, const Record& record) {
  out << "{cmdline \"" << Escaped(record.commandLine) << "\", cwd \""
      << Escaped(record.workingDirectory) << "\", argv [";
  for (size_t i = 0; i < record.arguments.size(); ++i) {
    out << (i ? ", \"" : "\"") << Escaped(record.arguments[i]) << '"';
  }
  return out << "]}";
}

std::vector<Record> ReadRecords() {
  std::string content;
  // The recorder holds the log without sharing while it appends: wait for our turn.
  for (int attempt = 0; attempt < 2000; ++attempt) {
    HANDLE file = CreateFileA(GetSettings().recorderLog.c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_SHARING_VIOLATION) {
        Sleep(1);
        continue;
      }
      return {};
    }
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    break;
  }
  std::vector<Record> records;
  size_t start = 0;
  for (size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    if (auto record = ParseRecord(content.substr(start, end - start))) records.push_back(*record);
  }
  return records;
}

std::vector<Record> InStartOrder(std::vector<Record> records) {
  std::stable_sort(records.begin(), records.end(),
                   [](const Record& a, const Record& b) { return a.created < b.created; });
  return records;
}

void ClearRecords() {
  WaitUntil([] {
    return DeleteFileA(GetSettings().recorderLog.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  });
}

std::optional<std::vector<Record>> WaitForRecords(size_t count, Milliseconds timeout) {
  std::vector<Record> records;
  if (!WaitUntil([&] { return (records = ReadRecords()).size() >= count; }, timeout)) {
    return std::nullopt;
  }
  return records;
}

bool WaitForRecorderExits(Milliseconds timeout) {
  return WaitUntil([] { return CountProcessesNamed("recorder.exe") == 0; }, timeout);
}

std::vector<std::string> AnsiArguments(const Record& record) {
  std::vector<std::string> ansi;
  for (const std::string& argument : record.arguments) ansi.push_back(Utf8ToAnsi(argument));
  return ansi;
}

std::string Utf8ToAnsi(const std::string& utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }
std::string AnsiToUtf8(const std::string& ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }

// ---- Registry ----

std::string WebCommand() { return "\"" + GetSettings().recorder + "\" \"%1\""; }
std::string HtmlCommand() { return "\"" + GetSettings().recorder + "\" -x \"%1\""; }

bool SetClassDefault(const std::string& keyPath, const std::string& value) {
  HKEY key = nullptr;
  if (!OpenClassKey(keyPath, &key)) return false;
  const LONG result = RegSetValueExA(key, nullptr, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(value.c_str()), value.size() + 1);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool DeleteClassTree(const std::string& keyPath) {
  const LONG result = RegDeleteTreeA(HKEY_CLASSES_ROOT, keyPath.c_str());
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) return false;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegCloseKey(key);
    return RegDeleteKeyA(HKEY_CLASSES_ROOT, keyPath.c_str()) == ERROR_SUCCESS;
  }
  return true;
}

void RegisterStandInBrowser() {
  for (const char* scheme : {"http", "https"}) {
    DeleteClassTree(scheme);
    SetClassDefault(std::string(scheme) + "\\shell\\open\\command", WebCommand());
  }
  SetClassDefault(".htm", kHtmlClass);
  SetHtmlCommand(HtmlCommand());
}

void RemoveWebHandlers() {
  DeleteClassTree("http");
  DeleteClassTree("https");
}

void RemoveHtmlClass() { DeleteClassTree(".htm"); }

void SetHtmlCommand(const std::string& command) {
  SetClassDefault(std::string(kHtmlClass) + "\\shell\\open\\command", command);
}

// ---- Message boxes ----

HWND WaitForMessageBox(DWORD processId, Milliseconds timeout) {
  return WaitForTopLevelWindow(processId, "#32770", timeout);
}

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void DismissMessageBox(HWND box) { SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); }

// ---- Processes ----

int CountProcessesNamed(const char* fileName) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, fileName) == 0) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

std::optional<size_t> PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return std::nullopt;
  return counters.PagefileUsage;
}

std::vector<std::string> ReadLines(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  std::vector<std::string> lines;
  std::istringstream stream(content);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// ---- The host side ----

int RunOnHost(const std::vector<std::string>& argv) {
  // Wine: ntdll's own door to the host. It forks and execs a Unix program with the Wine
  // process's Unix environment (DISPLAY included) and, asked to wait, returns once it exits.
  using Spawn = LONG(CDECL*)(char* const argv[], int wait);
  auto spawn = reinterpret_cast<Spawn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
  if (spawn == nullptr) return -1;
  std::vector<std::string> copies = argv;
  std::vector<char*> pointers;
  for (std::string& arg : copies) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  return spawn(pointers.data(), 1) == 0 ? 0 : -1;
}

std::optional<std::string> SaveScreenshot(const std::string& fileName) {
  const std::string path = GetSettings().artefacts + "/" + fileName;
  if (GetSettings().artefacts.empty() || RunOnHost({"import", "-window", "root", path}) != 0) {
    return std::nullopt;
  }
  std::string windowsPath = "Z:" + path;
  for (char& c : windowsPath) {
    if (c == '/') c = '\\';
  }
  if (GetFileAttributesA(windowsPath.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return path;
}

// ---- ulmora.exe ----

Ulmora StartUlmora(const std::string& program, const std::string& workingDirectory) {
  Ulmora ulmora;
  ulmora.process = Process::Start("\"" + program + "\"", workingDirectory);
  if (ulmora.process.started()) {
    ulmora.window = WaitForTopLevelWindow(ulmora.process.id(), "UlmoraWindow");
  }
  return ulmora;
}

std::optional<std::string> InstallCopy(const std::string& source, const std::string& folder,
                                       const std::string& fileName) {
  for (size_t slash = folder.find('\\', 3); ; slash = folder.find('\\', slash + 1)) {
    CreateDirectoryA(folder.substr(0, slash).c_str(), nullptr);
    if (slash == std::string::npos) break;
  }
  const std::string path = folder + "\\" + fileName;
  if (source.empty() || !CopyFileA(source.c_str(), path.c_str(), FALSE)) return std::nullopt;
  return path;
}

std::optional<std::string> InstallProgramCopy(const std::string& folder,
                                              const std::string& fileName) {
  return InstallCopy(GetSettings().program, folder, fileName);
}

void UlmoraTest::SetUp() {
  ASSERT_FALSE(GetSettings().program.empty()) << "ULMORA_E2E_PROGRAM is not set";
  RegisterStandInBrowser();
  ClearRecords();
  ulmora_ = StartUlmora(GetSettings().program);
  ASSERT_TRUE(ulmora_.process.started()) << "cannot start " << GetSettings().program;
  ASSERT_NE(ulmora_.window, nullptr) << "no visible UlmoraWindow appeared";
}

void UlmoraTest::TearDown() {
  if (ulmora_.process.Running() && IsWindow(ulmora_.window)) {
    PostMessageA(ulmora_.window, WM_CLOSE, 0, 0);
    ulmora_.process.WaitForExit(Milliseconds(2000));
  }
  ulmora_.process.Terminate();
}

}  // namespace ulmora::e2e
