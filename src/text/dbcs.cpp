#include "text/dbcs.h"

#include "platform/platform.h"

namespace ulmora {
namespace {

// Width of the character at text[i] within length bytes: a lead byte with nothing after it
// stands alone.
std::uint32_t WidthWithin(const char* text, std::uint32_t i, std::uint32_t length) {
  return platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
}

}  // namespace

std::uint32_t CharacterWidth(const char* p) {
  return platform::IsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0' ? 2 : 1;
}

std::uint32_t FindLastCharacter(const char* text, std::uint32_t length, char byte) {
  std::uint32_t found = kNotFound;
  for (std::uint32_t i = 0; i < length;) {
    const std::uint32_t width = WidthWithin(text, i, length);
    if (width == 1 && text[i] == byte) found = i;
    i += width;
  }
  return found;
}

std::uint32_t FindCharacters(const char* text, const char* needle) {
  if (text == nullptr || needle == nullptr) return kNotFound;
  for (std::uint32_t i = 0; text[i] != '\0';) {
    std::uint32_t k = 0;
    while (needle[k] != '\0' && text[i + k] == needle[k]) ++k;
    if (needle[k] == '\0') return i;
    i += CharacterWidth(text + i);
  }
  return needle[0] == '\0' ? 0 : kNotFound;
}

}  // namespace ulmora
