#include "fatal/fatal.h"

#include <cstring>

#include "platform/platform.h"

namespace ulmora {
namespace {

std::uint32_t suppression = 0;
FatalShutdownStep shutdownStep = nullptr;

// Big enough for every message of the program; longer ones are cut at a character boundary.
constexpr std::uint32_t kFatalTextCapacity = 1024;
char fatalText[kFatalTextCapacity];

constexpr char kHeading[] = "运行时出错!\r\n\r\n";
constexpr char kMessageLead[] = "错误信息：";
constexpr char kLineEnd[] = "\r\n";
constexpr char kCaption[] = "错误";

// Appends at most room bytes of text, never splitting a double-byte character.
std::uint32_t AppendCut(char* out, std::uint32_t room, const char* text) {
  std::uint32_t n = 0;
  while (text[n] != '\0') {
    const std::uint32_t width =
        platform::IsLeadByte(static_cast<unsigned char>(text[n])) && text[n + 1] != '\0' ? 2 : 1;
    if (n + width > room) break;
    n += width;
  }
  std::memcpy(out, text, n);
  return n;
}

}  // namespace

void RaiseEventSuppression() { ++suppression; }

void LowerEventSuppression() {
  if (suppression > 0) --suppression;
}

std::uint32_t EventSuppression() { return suppression; }

void InstallFatalShutdownStep(FatalShutdownStep step) { shutdownStep = step; }

std::uint32_t ComposeFatalText(const char* message, char* buffer, std::uint32_t capacity) {
  if (capacity == 0) return 0;
  const std::uint32_t room = capacity - 1;
  std::uint32_t n = AppendCut(buffer, room, kHeading);
  if (message != nullptr && message[0] != '\0') {
    // The lead and the line end always stand whole; the message takes what room is left.
    const std::uint32_t fixed = sizeof kMessageLead - 1 + sizeof kLineEnd - 1;
    if (n + fixed <= room) {
      n += AppendCut(buffer + n, room - n, kMessageLead);
      n += AppendCut(buffer + n, room - n - (sizeof kLineEnd - 1), message);
      n += AppendCut(buffer + n, room - n, kLineEnd);
    }
  }
  buffer[n] = '\0';
  return n;
}

void ReportFatalError(const char* message) {
  RaiseEventSuppression();
  ComposeFatalText(message, fatalText, kFatalTextCapacity);
  platform::ShowErrorBox(kCaption, fatalText);
  if (shutdownStep != nullptr) shutdownStep();
  platform::EndProcess(-1);
}

}  // namespace ulmora
