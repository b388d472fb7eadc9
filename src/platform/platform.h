// The port: everything the logic needs from an operating system, and nothing more.
//
// The logic calls the functions in namespace `platform`; a backend (src/win32 for the product,
// tests/support for the unit tests) defines them. Handles are opaque. The other direction, what
// the backend reports to the logic, is the namespace `platform_events` at the end: the logic
// defines those functions and the backend calls them from its window procedures.
//
// Every text here is bytes in the system's ANSI code page (GBK on the target systems).
#pragma once

#include <cstdint>

namespace platform {

struct NativeWindowTag;
struct NativeFontTag;
struct NativeKeyTag;
using Window = NativeWindowTag*;  // a native window; null is "none"
using Font = NativeFontTag*;
using RegistryKey = NativeKeyTag*;

// ---- Process ---------------------------------------------------------------------------------

// The text heap. Allocate returns null on failure and never clears the block.
void* HeapAllocate(std::uint32_t size);
void HeapRelease(void* block);

// Copies the program file's full path into buffer and returns the number of bytes copied
// without the terminator. A result equal to capacity means the path was cut short (the buffer
// then holds capacity bytes and no terminator); 0 means the path could not be had at all.
std::uint32_t ProgramFilePath(char* buffer, std::uint32_t capacity);

// The result is not reported: start-up goes on either way.
void SetWorkingDirectory(const char* path);

// True when a double-byte character of the ANSI code page starts with this byte.
bool IsLeadByte(unsigned char byte);

// Component services (OLE). Start returns false when they could not be started.
bool StartComponentServices();
void StopComponentServices();

// A modal error box with no owner window, the error icon and one OK button.
void ShowErrorBox(const char* caption, const char* text);

[[noreturn]] void EndProcess(int exitCode);

// ---- Window system ---------------------------------------------------------------------------

inline constexpr std::uint32_t kSystemButtonFace = 0xFF000000u;  // colour value: COLOR_BTNFACE

struct Rect {
  int left;
  int top;
  int width;
  int height;
};

struct ScreenSize {
  int width;
  int height;
};

// The never-shown tool window that owns top-level windows kept off the task bar.
Window CreateHiddenToolWindow();

struct TopLevelSpec {
  const char* title;
  Rect outer;            // screen coordinates, frame and title bar included
  bool titleBar;
  bool systemMenu;       // system menu and close box
  bool minimizeBox;
  bool maximizeBox;
  bool sizingBorder;
  bool topmost;
  Window owner;          // null: not owned
  std::uint32_t backColor;  // 0x00BBGGRR or kSystemButtonFace
};

// Creates the window hidden. Null on failure.
Window CreateTopLevel(const TopLevelSpec& params);

enum class ControlClass : std::uint8_t { Edit, PushButton, RadioButton, HyperLinker };

enum class HAlign : std::uint8_t { Left, Center, Right };
enum class VAlign : std::uint8_t { Top, Center, Bottom };

struct ControlSpec {
  ControlClass controlClass;
  std::uint32_t id;          // the control's identity; the native control id
  Rect rect;                 // client coordinates of the parent
  const char* text;          // initial window text
  bool tabStop;
  bool disabled;
  bool multilineCaption;     // buttons: the caption may wrap onto several lines
  bool defaultButton;        // push button drawn and treated as the default one
  bool textOnLeft;           // radio button: check mark on the right
  HAlign hAlign;
  VAlign vAlign;
  std::uint32_t textColor;   // 0x00BBGGRR or kSystemButtonFace
  std::uint32_t backColor;
  // Edit fields only.
  bool clientEdge;
  bool hideSelection;
  bool multiline;
  bool readOnly;
  bool password;
  std::uint32_t maxLength;   // 0: the platform's largest limit
};

// Creates a child control of parent, hidden. Null on failure.
Window CreateControl(Window parent, const ControlSpec& params);

struct FontSpec {
  const char* face;
  int charHeight;  // pixels of the characters themselves, without internal leading
  int weight;
  bool italic;
  bool underline;
  bool strikeOut;
};

Font MakeFont(const FontSpec& params);  // null on failure
void SetControlFont(Window control, Font font);
void DestroyFont(Font font);

// The program file's own icon, as the window's large and small icon.
bool SetProgramIcon(Window window);

// Edit fields: select [start, start + length) and scroll the caret into view.
void SetEditSelection(Window edit, std::uint32_t start, std::uint32_t length);

bool GetOuterRect(Window window, Rect* rect);
bool SetOuterRect(Window window, const Rect& rect);
ScreenSize PrimaryScreenSize();

// Places window directly below `above` in the stacking order; null `above` puts it on top.
bool PlaceBelow(Window window, Window above);

void ShowChild(Window control, bool visible);  // shows without activating
void ShowTopLevel(Window window);              // shows normally, which activates it
void DestroyNativeWindow(Window window);
void RequestClose(Window window);              // exactly as the close box asks
void RequestRepaint(Window window);

bool WindowExists(Window window);
bool WindowEnabled(Window window);
bool WindowVisible(Window window);
Window ParentOf(Window window);  // the enclosing window of a child; null for a top-level window

void SetFocusTo(Window window);
Window FocusedWindow();

enum class CheckState : std::uint8_t { Unchecked, Checked, Indeterminate };
CheckState GetCheck(Window button);
void SetCheck(Window button, bool checked);

// Upper bound of the window text's length in bytes, without the terminator.
std::uint32_t WindowTextLength(Window window);
// Copies at most capacity - 1 bytes of the window text plus a terminator; returns the bytes copied.
std::uint32_t ReadWindowText(Window window, char* buffer, std::uint32_t capacity);
bool SetWindowTextTo(Window window, const char* text);

// The bit mask of the modifier keys held down now: 1 Ctrl, 2 Shift, 4 Alt.
std::uint32_t HeldKeyModifiers();

// ---- Message queue ---------------------------------------------------------------------------

enum class MessageKind : std::uint8_t { KeyDown, SysKeyDown, Other };

struct Message {
  Window target;
  MessageKind kind;
  std::uint32_t key;        // key messages: the virtual-key parameter
  std::uint32_t keyFlags;   // key messages: repeat count, scan code and flags
  alignas(8) unsigned char native[64];  // the backend's own copy of the message
};

enum class TakeResult : std::uint8_t { Message, Quit };

bool MessageWaiting();
bool RunIdleStep();  // true while the platform has more idle work to do
void WaitForMessage();
// Quit: the quit request was taken; *quitCode holds its code.
TakeResult TakeMessage(Message* message, int* quitCode);
void TranslateAndDispatch(const Message& message);
void PostQuitRequest(int code);

// ---- Desktop ---------------------------------------------------------------------------------

// The shell's "open" verb on target; the result is the shell's (above 32 means handed over).
std::intptr_t ShellOpen(const char* target, int showMode);

// Registry under the root of document classes. Results are the system's error codes, 0 on
// success. Query copies the key's default text value with its terminator and fails when the
// value is absent, not text, or does not fit into capacity bytes.
std::int32_t OpenClassKey(const char* path, RegistryKey* key);
std::int32_t QueryDefaultValue(RegistryKey key, char* buffer, std::uint32_t capacity);
void CloseClassKey(RegistryKey key);

// Starts a command line; above 32 means it was started.
std::uint32_t StartCommandLine(const char* commandLine, int showMode);

}  // namespace platform

// What the backend reports to the logic. Defined by the logic (src/app).
namespace platform_events {

void ControlClicked(platform::Window control);
// The top-level window itself received the keyboard focus (it was activated).
void WindowFocused(platform::Window window);
// The top-level window was deactivated; focus is the window that held the keyboard focus.
void WindowDeactivated(platform::Window window, platform::Window focus);
void WindowCloseRequested(platform::Window window);
// The native window is gone, its children with it.
void WindowDestroyed(platform::Window window);

}  // namespace platform_events
