// The searches that take double-byte characters as units, against the plain way of doing the
// same over the text's characters, and the program-folder split of start-up that rests on
// them: over arbitrary bytes and over GBK-shaped text (lead bytes 0x81 to 0xFE, trail bytes
// 0x40 to 0xFE, 0x5C among them).
//
// Input: a first byte of flags (bit 0: shape the texts as GBK), a byte to look for, a needle
// length, then the needle and the text.
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/shell.h"
#include "fuzz_support.h"
#include "stand_in_platform.h"
#include "text/dbcs.h"

namespace {

// The last character that is the single byte `byte`; byte is never a lead byte.
std::uint32_t ExpectedLast(std::string_view text, char byte) {
  std::uint32_t found = ulmora::kNotFound;
  fuzz::ForEachCharacter(text, [&](std::size_t at, std::size_t width) {
    if (width == 1 && text[at] == byte) found = static_cast<std::uint32_t>(at);
  });
  return found;
}

// The first character boundary of a NUL-terminated text where needle starts.
std::uint32_t ExpectedFirst(std::string_view text, std::string_view needle) {
  if (needle.empty()) return 0;
  std::uint32_t found = ulmora::kNotFound;
  fuzz::ForEachCharacter(text, [&](std::size_t at, std::size_t) {
    if (found == ulmora::kNotFound && text.substr(at, needle.size()) == needle) {
      found = static_cast<std::uint32_t>(at);
    }
  });
  return found;
}

std::string Shaped(bool gbk, const std::uint8_t* data, std::size_t size) {
  return gbk ? fuzz::ShapeGbk(data, size, "\\\\\\/:.a%1\"C")
             : std::string(reinterpret_cast<const char*>(data), size);
}

void CheckSearches(const std::string& text, const std::string& needle, char byte) {
  const std::string where =
      "text \"" + fuzz::Escaped(text) + "\", needle \"" + fuzz::Escaped(needle) + "\": ";
  // Over a length, NUL bytes included.
  const auto length = static_cast<std::uint32_t>(text.size());
  const std::uint32_t last = ulmora::FindLastCharacter(text.data(), length, byte);
  FUZZ_REQUIRE(
      last == ExpectedLast(text, byte),
      where + "last \"" + fuzz::Escaped(std::string(1, byte)) + "\" at " + std::to_string(last));
  // Over NUL-terminated texts: each ends at its first NUL.
  const std::string_view terminated(text.c_str());
  const std::string_view needleText(needle.c_str());
  const std::uint32_t first = ulmora::FindCharacters(text.c_str(), needle.c_str());
  FUZZ_REQUIRE(first == ExpectedFirst(terminated, needleText),
               where + "first at " + std::to_string(first));
}

// Start-up's working directory: the program path before its last backslash character.
void CheckProgramFolder(std::string path) {
  std::replace(path.begin(), path.end(), '\0', 'x');  // a file path holds no NUL
  const std::uint32_t separator = ExpectedLast(path, '\\');
  const std::string folder = separator == ulmora::kNotFound ? "" : path.substr(0, separator);

  stand_in::Reset();
  ulmora::ResetShellState();
  stand_in::Get().programPath = path;
  ulmora::InitializeShell(ulmora::UlmoraProgram);
  ulmora::ShutDown();
  const auto& directories = stand_in::Get().workingDirectories;
  FUZZ_REQUIRE(directories.size() == 1 && directories[0] == folder,
               "path \"" + fuzz::Escaped(path) + "\": folder \"" +
                   fuzz::Escaped(directories.empty() ? "(none)" : directories[0]) + "\"");
  FUZZ_REQUIRE(stand_in::Get().heap.live.empty(), "blocks left after shutdown");
  ulmora::ResetShellState();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const bool gbk = (data[0] & 1) != 0;
  char byte = static_cast<char>(data[1]);
  if (fuzz::IsLead(static_cast<unsigned char>(byte))) byte = static_cast<char>(data[1] & 0x7F);
  const std::size_t needleSize = std::min<std::size_t>(data[2] % 8, size - 3);
  const std::string needle = Shaped(gbk, data + 3, needleSize);
  const std::string text = Shaped(gbk, data + 3 + needleSize, size - 3 - needleSize);

  CheckSearches(text, needle, byte);
  CheckProgramFolder(text);
  stand_in::Reset();
  return 0;
}
