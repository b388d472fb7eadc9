#include "launch/hyper_linker.h"

#include <cstring>

#include "text/dbcs.h"

namespace ulmora {
namespace {

constexpr std::uint32_t kFirstLook = 12;
constexpr std::uint32_t kLookCount = 5;
// Link, visited and hover text colours (0x00BBGGRR), back colour, border.
constexpr std::int32_t kLookDefaults[kLookCount] = {
    0xFF0000, 0x800080, 0x0000FF, static_cast<std::int32_t>(platform::kSystemButtonFace), 0};

Text* TextSlot(HyperLinker* link, std::uint32_t index) {
  switch (index) {
    case 8: return &link->caption;
    case 10: return &link->mailAddress;
    case 11: return &link->webAddress;
    default: return nullptr;
  }
}

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

void RequestRepaint(const HyperLinker& link) {
  if (link.window != nullptr) platform::RequestRepaint(link.window);
}

// Hands target to the command registered for HTML documents; shellResult stands when the
// handler cannot be found.
std::intptr_t OpenWithHtmlHandler(const char* target, int showMode, std::intptr_t shellResult) {
  static constexpr char kOpenCommand[] = "\\shell\\open\\command";
  char command[kCommandBufferSize];
  if (ReadClassDefault(".htm", command) != 0) return shellResult;
  // A class name of at most 259 bytes and the suffix always fit the command buffer.
  const std::uint32_t classLength = TextLength(command);
  std::memcpy(command + classLength, kOpenCommand, sizeof kOpenCommand);
  if (ReadClassDefault(command, command) != 0) return shellResult;
  Text line = BuildFallbackCommand(command, target);
  const std::uint32_t started = platform::StartCommandLine(line, showMode);
  ReleaseText(line);
  return static_cast<std::intptr_t>(started);
}

}  // namespace

void ResetHyperLinker(HyperLinker* link) {
  ReleaseHyperLinker(link);
  link->linkKind = link_kind::kMail;
  for (std::uint32_t i = 0; i < kLookCount; ++i) link->look[i] = kLookDefaults[i];
}

void ReleaseHyperLinker(HyperLinker* link) {
  Text* slots[] = {&link->caption, &link->mailAddress, &link->webAddress};
  for (Text* slot : slots) {
    ReleaseText(*slot);
    *slot = nullptr;
  }
}

void WriteHyperLinkerNumber(HyperLinker* link, std::uint32_t index, std::int32_t value) {
  if (index == 9) {
    link->linkKind = value > 1 ? 1 : (value < 0 ? 0 : value);
    RequestRepaint(*link);
  } else if (index >= kFirstLook && index < kFirstLook + kLookCount) {
    link->look[index - kFirstLook] = value;
    RequestRepaint(*link);
  }
}

void WriteHyperLinkerText(HyperLinker* link, std::uint32_t index, const char* text) {
  Text* slot = TextSlot(link, index);
  if (slot == nullptr) return;
  Text copy = CopyText(text);  // copied before the old value goes, in case they are the same
  ReleaseText(*slot);
  *slot = copy;
  if (index == 8) {
    if (link->window != nullptr) platform::SetWindowTextTo(link->window, copy ? copy : "");
    RequestRepaint(*link);
  } else if (IsEmpty(link->caption)) {
    RequestRepaint(*link);  // the address is what the control shows
  }
}

std::int32_t ReadHyperLinkerNumber(const HyperLinker& link, std::uint32_t index) {
  if (index == 9) return link.linkKind;
  if (index >= kFirstLook && index < kFirstLook + kLookCount) return link.look[index - kFirstLook];
  return 0;
}

Text ReadHyperLinkerText(const HyperLinker& link, std::uint32_t index) {
  Text* slot = TextSlot(const_cast<HyperLinker*>(&link), index);
  return slot == nullptr ? nullptr : CopyText(*slot);
}

std::int32_t OpenTarget(const HyperLinker& link, int showMode) {
  const char* target = nullptr;
  Text mailTarget = nullptr;
  if (link.linkKind != link_kind::kMail) {
    if (IsEmpty(link.webAddress)) return 0;
    target = link.webAddress;
  } else {
    if (IsEmpty(link.mailAddress)) return 0;
    const char* pieces[] = {"mailto:", link.mailAddress};
    mailTarget = ConcatText(pieces);
    target = mailTarget;
  }
  std::intptr_t result = platform::ShellOpen(target, showMode);
  if (result <= 32) result = OpenWithHtmlHandler(target, showMode, result);
  ReleaseText(mailTarget);
  return result > 32 ? 1 : 0;
}

std::int32_t ReadClassDefault(const char* keyPath, char* out) {
  platform::RegistryKey key = nullptr;
  const std::int32_t opened = platform::OpenClassKey(keyPath, &key);
  if (opened != 0) return opened;
  char value[kClassValueCapacity];
  const std::int32_t queried = platform::QueryDefaultValue(key, value, sizeof value);
  if (queried == 0) std::memcpy(out, value, TextLength(value) + 1);
  platform::CloseClassKey(key);
  return queried;
}

CommandCut CutRegisteredCommand(const char* command) {
  std::uint32_t at = FindCharacters(command, "\"%1\"");
  if (at != kNotFound) return {at, Placeholder::Quoted};
  at = FindCharacters(command, "%1");
  if (at != kNotFound) return {at, Placeholder::Bare};
  return {TextLength(command), Placeholder::None};
}

std::uint64_t QuotedArgumentLength(const char* target) {
  std::uint64_t length = 2;  // the quotes around it
  std::uint64_t backslashes = 0;
  for (const char* p = target; p != nullptr && *p != '\0'; ++p) {
    if (CharacterWidth(p) == 2) {
      length += 2;
      ++p;
      backslashes = 0;
    } else if (*p == '\\') {
      ++length;
      ++backslashes;
    } else if (*p == '"') {
      length += backslashes + 2;  // the run doubled, then \"
      backslashes = 0;
    } else {
      ++length;
      backslashes = 0;
    }
  }
  return length + backslashes;  // a run before the closing quote is doubled
}

void WriteQuotedArgument(const char* target, char* out) {
  *out++ = '"';
  std::uint32_t backslashes = 0;
  for (const char* p = target; p != nullptr && *p != '\0'; ++p) {
    if (CharacterWidth(p) == 2) {
      *out++ = *p++;
      *out++ = *p;
      backslashes = 0;
    } else if (*p == '\\') {
      *out++ = '\\';
      ++backslashes;
    } else if (*p == '"') {
      for (; backslashes > 0; --backslashes) *out++ = '\\';
      *out++ = '\\';
      *out++ = '"';
    } else {
      *out++ = *p;
      backslashes = 0;
    }
  }
  for (; backslashes > 0; --backslashes) *out++ = '\\';
  *out = '"';
}

Text BuildFallbackCommand(const char* command, const char* target) {
  const CommandCut cut = CutRegisteredCommand(command);
  const bool raw = cut.placeholder == Placeholder::Bare;
  const std::uint64_t targetLength = raw ? TextLength(target) : QuotedArgumentLength(target);
  const std::uint64_t size = std::uint64_t{cut.length} + 1 + targetLength + 1;
  if (size > UINT32_MAX) ReportAllocationFailure(UINT32_MAX);
  Text line = AllocateText(static_cast<std::uint32_t>(size));
  std::memcpy(line, command, cut.length);
  char* at = line + cut.length;
  *at++ = ' ';
  if (raw) {
    if (targetLength != 0) std::memcpy(at, target, targetLength);
  } else {
    WriteQuotedArgument(target, at);
  }
  line[size - 1] = '\0';
  return line;
}

}  // namespace ulmora
