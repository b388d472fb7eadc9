// What the fuzz targets share: a check that stops the run with the failing input kept, a
// readable form of bytes, and GBK-shaped text made from arbitrary bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// Bytes as C escapes: printable ASCII stays, everything else is \xNN.
inline std::string Escaped(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

[[noreturn]] inline void Fail(const char* file, int line, const char* condition,
                              const std::string& detail) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n%s\n", file, line, condition, detail.c_str());
  std::abort();  // libFuzzer keeps the input as a crash artifact
}

#define FUZZ_REQUIRE(condition, detail)                                       \
  do {                                                                        \
    if (!(condition)) ::fuzz::Fail(__FILE__, __LINE__, #condition, (detail)); \
  } while (0)

// GBK: lead bytes 0x81 to 0xFE, the same rule as the stand-in's code page.
inline bool IsLead(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

// Text in the shape of GBK: a byte below 0x80 picks a single-byte character from alphabet; a
// byte from 0x80 on starts a double-byte character whose trail (0x40 to 0xFE) comes from the
// next input byte, often 0x5C, the backslash's code. A last byte from 0x80 on is a lone lead.
inline std::string ShapeGbk(const std::uint8_t* data, std::size_t size, std::string_view alphabet) {
  std::string out;
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    if (b < 0x80) {
      out += alphabet[b % alphabet.size()];
      continue;
    }
    out += static_cast<char>(0x81 + (b - 0x80) % 0x7E);
    if (++i == size) break;
    const std::uint8_t t = data[i];
    out += static_cast<char>(t % 3 == 0 ? 0x5C : 0x40 + t % 0xBF);
  }
  return out;
}

// The text's character boundaries by the code page's rule: a lead byte with a byte after it
// (within the text) is one double-byte character.
template <typename Visit>
void ForEachCharacter(std::string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width =
        IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    visit(i, width);
    i += width;
  }
}

}  // namespace fuzz
