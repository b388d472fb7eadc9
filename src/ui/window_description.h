// The stored description of a window and its controls: kinds, setting numbering, events and the
// handler bindings that the shell resolves when it loads the descriptions.
#pragma once

#include <cstdint>

namespace ulmora {

enum class ControlKind : std::uint32_t {
  Window = 0x10001,
  EditBox = 0x10005,
  Button = 0x1000b,
  RadioBox = 0x1000d,
  HyperLinker = 0x1001d,
};

// Settings 0 to 7 are common to every kind; a kind's own settings follow from 8.
namespace setting {
inline constexpr std::uint32_t kLeft = 0;
inline constexpr std::uint32_t kTop = 1;
inline constexpr std::uint32_t kWidth = 2;
inline constexpr std::uint32_t kHeight = 3;
inline constexpr std::uint32_t kTag = 4;
inline constexpr std::uint32_t kVisible = 5;
inline constexpr std::uint32_t kDisabled = 6;
inline constexpr std::uint32_t kMousePointer = 7;
inline constexpr std::uint32_t kFirstKindSetting = 8;

inline constexpr std::uint32_t kEditContent = 8;
inline constexpr std::uint32_t kRadioChecked = 18;

inline constexpr std::uint32_t kLinkCaption = 8;
inline constexpr std::uint32_t kLinkKind = 9;
inline constexpr std::uint32_t kLinkMailAddress = 10;
inline constexpr std::uint32_t kLinkWebAddress = 11;
}  // namespace setting

// Event numbers. 0 is the click of a Button or RadioBox; the kinds share the negative ones.
namespace event {
inline constexpr std::int32_t kClick = 0;
inline constexpr std::int32_t kLeftDown = -1;
inline constexpr std::int32_t kLeftUp = -2;
inline constexpr std::int32_t kLeftDoubleClick = -3;
inline constexpr std::int32_t kRightDown = -4;
inline constexpr std::int32_t kRightUp = -5;
inline constexpr std::int32_t kMouseMove = -6;
inline constexpr std::int32_t kFocusGained = -7;
inline constexpr std::int32_t kFocusLost = -8;
inline constexpr std::int32_t kKeyDown = -9;
inline constexpr std::int32_t kKeyUp = -10;
inline constexpr std::int32_t kCharacter = -11;
inline constexpr std::int32_t kWheel = -12;
}  // namespace event

// The program's routines are named by these ids in a description; the program hands the shell
// a table that maps each id to its routine.
enum class HandlerId : std::uint32_t { SearchButtonClicked = 1, QueryKeyPressed = 2 };

struct EventArgs {
  std::int32_t values[2];
  std::uint32_t count;
};

// A handler returns either no value or a value.
struct HandlerResult {
  bool hasValue;
  std::int32_t value;
};

using EventHandler = HandlerResult (*)(const EventArgs& args);

struct ProgramRoutine {
  HandlerId id;
  EventHandler handler;
};

struct EventBinding {
  std::int32_t event;
  HandlerId handler;
};

// A font setting: face null means the system's default GUI font.
struct FontDescription {
  const char* face;
  int charHeight;
  int weight;
  bool italic;
  bool underline;
  bool strikeOut;
};

struct EditBoxSettings {
  const char* content;
  std::int32_t border;
  std::uint32_t textColor;
  std::uint32_t backColor;
  FontDescription font;
  bool hideSelection;
  std::uint32_t maxLength;
  bool multiline;
  std::int32_t scrollBars;
  std::int32_t alignment;  // 0 left, 1 centre, 2 right
  std::int32_t inputMode;  // 0 ordinary, 1 read-only, 2 password
  const char* passwordChar;
  std::int32_t caseConversion;
  std::int32_t spinKind;
  std::int32_t spinMin;
  std::int32_t spinMax;
  std::uint32_t selectionStart;
  std::uint32_t selectionLength;
};

struct ButtonSettings {
  const char* picture;
  std::int32_t buttonKind;  // 1: the default button that Enter presses
  const char* caption;
  std::int32_t hAlign;      // 0 left, 1 centre, 2 right
  std::int32_t vAlign;      // 0 top, 1 centre, 2 bottom
  FontDescription font;
};

struct RadioBoxSettings {
  const char* picture;
  bool pushLike;
  bool flat;
  const char* caption;
  bool textOnLeft;
  std::int32_t hAlign;
  std::int32_t vAlign;
  std::uint32_t textColor;
  std::uint32_t backColor;
  FontDescription font;
  bool checked;
};

struct ControlDescription {
  ControlKind kind;
  std::uint32_t identity;
  const char* name;
  int left;
  int top;
  int width;
  int height;
  std::uint32_t parent;  // 0: a direct child of the window
  const char* tag;
  std::int32_t mousePointer;  // 0: the kind's default pointer
  bool visible;
  bool disabled;
  bool tabStop;
  std::int32_t tabOrder;
  const EventBinding* bindings;
  std::uint32_t bindingCount;
  // The kind settings; only the member of the control's kind is used. A HyperLinker stores none.
  const EditBoxSettings* edit;
  const ButtonSettings* button;
  const RadioBoxSettings* radio;
};

struct WindowSettings {
  int left;
  int top;
  int width;
  int height;
  const char* tag;
  bool visible;
  bool disabled;
  std::int32_t mousePointer;
  const char* title;
  std::int32_t frameStyle;  // 2: fixed frame
  std::uint32_t backColor;
  const char* backPicture;
  std::int32_t pictureMode;
  const char* backMusic;
  std::int32_t playCount;
  bool controlBox;
  bool maxButton;
  bool minButton;
  std::int32_t startPosition;  // 1: centred on the screen
  bool movable;
  bool hasIcon;               // the program file's own icon
  bool enterMovesFocus;
  bool escCloses;
  bool f1Help;
  const char* helpFile;
  std::int32_t helpContext;
  bool showInTaskbar;
  bool dragAnywhere;
  std::int32_t shape;
  bool alwaysOnTop;
  bool keepTitleActive;
  const char* className;
};

struct WindowDescription {
  std::uint32_t identity;
  const char* name;
  WindowSettings settings;
  const EventBinding* bindings;
  std::uint32_t bindingCount;
  const ControlDescription* controls;  // in stored order
  std::uint32_t controlCount;
};

}  // namespace ulmora
