// Searches over ANSI code-page text that take double-byte characters as units, so that a trail
// byte never matches a single-byte character.
#pragma once

#include <cstdint>

namespace ulmora {

inline constexpr std::uint32_t kNotFound = 0xFFFFFFFFu;

// Bytes of the character at p in NUL-terminated text: 2 for a lead byte with a byte after it,
// else 1 (a lead byte right before the terminator stands alone).
std::uint32_t CharacterWidth(const char* p);

// Offset of the last single-byte character equal to `byte` in the first length bytes of text.
std::uint32_t FindLastCharacter(const char* text, std::uint32_t length, char byte);

// Offset of the first occurrence of needle in text that starts on a character boundary.
std::uint32_t FindCharacters(const char* text, const char* needle);

}  // namespace ulmora
