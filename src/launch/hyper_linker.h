// The link control: holds one target, an e-mail or a web address, and opens it through the
// desktop shell, falling back to the registered handler of HTML documents.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "text/text.h"

namespace ulmora {

namespace link_kind {
inline constexpr std::int32_t kMail = 0;
inline constexpr std::int32_t kWeb = 1;
}  // namespace link_kind

inline constexpr int kShowNormal = 5;  // the show mode that opening uses

struct HyperLinker {
  platform::Window window;  // null until the control is created
  // The texts are owned by the control; null is the empty text.
  Text caption;
  std::int32_t linkKind;
  Text mailAddress;
  Text webAddress;
  // Settings 12 to 16 only govern the look: link, visited, hover and back colour, border.
  std::int32_t look[5];
};

// Releases what the control holds and puts every setting back to its default.
void ResetHyperLinker(HyperLinker* link);
void ReleaseHyperLinker(HyperLinker* link);

// Setting access by index (8 Caption, 9 LinkKind, 10 MailAddress, 11 WebAddress, 12-17 look).
// A text write stores a copy; the writer keeps its own text.
void WriteHyperLinkerNumber(HyperLinker* link, std::uint32_t index, std::int32_t value);
void WriteHyperLinkerText(HyperLinker* link, std::uint32_t index, const char* text);
std::int32_t ReadHyperLinkerNumber(const HyperLinker& link, std::uint32_t index);
Text ReadHyperLinkerText(const HyperLinker& link, std::uint32_t index);  // fresh copy or null

// Opens the current target: 1 when it was handed over, 0 when not (nothing is reported).
std::int32_t OpenTarget(const HyperLinker& link, int showMode);

inline constexpr std::uint32_t kClassValueCapacity = 260;  // a value and its terminator
inline constexpr std::uint32_t kCommandBufferSize = 520;

// Reads the default value of a key under the root of document classes into out (at least
// kClassValueCapacity bytes). 0 on success; else the open's error code, or the query's when
// the value is absent or does not fit (out is then untouched).
std::int32_t ReadClassDefault(const char* keyPath, char* out);

enum class Placeholder : std::uint8_t { Quoted, Bare, None };

struct CommandCut {
  std::uint32_t length;  // bytes of the registered command kept before the placeholder
  Placeholder placeholder;
};

// Where the registered command is cut for the target: before a quoted placeholder, else before
// a bare one, else nowhere.
CommandCut CutRegisteredCommand(const char* command);

// Length of target as one command-line argument: in double quotes, a quote as \", backslashes
// doubled only before a quote or the closing quote. Double-byte characters are units.
std::uint64_t QuotedArgumentLength(const char* target);
// Writes that form to out (QuotedArgumentLength bytes, no terminator).
void WriteQuotedArgument(const char* target, char* out);

// The command line that opens target with the registered command: the command up to its cut,
// one space, then the target as one quoted argument, or raw where the registration put a bare
// placeholder. A fresh text in storage of exactly the size it needs.
Text BuildFallbackCommand(const char* command, const char* target);

}  // namespace ulmora
