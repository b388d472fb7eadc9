// ConcatText over arbitrary piece lists: the result is the plain concatenation, made with
// exactly one allocation of its exact size; when that allocation fails, the program ends with
// the report of that size.
//
// Input: a first byte of flags (bit 0: the heap refuses the allocation), then the pieces,
// separated by NUL bytes; a piece made of the single byte 0x01 stands for null.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_support.h"
#include "stand_in_platform.h"
#include "text/text.h"

namespace {

std::string Joined(const char* text) {
  return text != nullptr ? text : "(null)";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool heapRefuses = (data[0] & 1) != 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

  // Each piece in a block of its own exact size, so that a read past it is caught.
  std::vector<std::unique_ptr<char[]>> owned;
  std::vector<const char*> pieces;
  std::string expected;
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(rest.find('\0', start), rest.size());
    const std::string_view piece = rest.substr(start, end - start);
    if (piece == "\x01") {
      pieces.push_back(nullptr);
    } else {
      owned.push_back(std::make_unique<char[]>(piece.size() + 1));
      std::memcpy(owned.back().get(), piece.data(), piece.size());
      pieces.push_back(owned.back().get());
      expected += piece;
    }
    if (end == rest.size()) break;
    start = end + 1;
  }
  const auto count = static_cast<std::uint32_t>(pieces.size());

  stand_in::Reset();
  stand_in::Get().heap.failAll = heapRefuses;
  ulmora::Text result = nullptr;
  try {
    if (count <= 5) {
      // The form the program uses: a fixed list whose first count entries are the pieces.
      const char* fixed[5] = {};
      std::copy(pieces.begin(), pieces.end(), fixed);
      result = ulmora::ConcatText(count, fixed);
    } else {
      std::vector<std::uint32_t> scratch(count);
      result = ulmora::ConcatTextWith(count, pieces.data(), scratch.data());
    }
  } catch (const stand_in::ProcessEnded& ended) {
    const auto& boxes = stand_in::Get().errorBoxes;
    FUZZ_REQUIRE(heapRefuses, "the program ended although the heap gave the block");
    FUZZ_REQUIRE(ended.exitCode == -1 && boxes.size() == 1,
                 "exit code " + std::to_string(ended.exitCode));
    const std::string report = "运行时出错!\r\n\r\n错误信息：分配 " +
                               std::to_string(expected.size() + 1) + " 字节内存失败!\r\n";
    FUZZ_REQUIRE(boxes[0].text == report, "box text " + fuzz::Escaped(boxes[0].text));
    stand_in::Reset();
    return 0;
  }
  const auto& heap = stand_in::Get().heap;
  FUZZ_REQUIRE(!heapRefuses, "ConcatText returned although the heap refused");
  FUZZ_REQUIRE(heap.allocations == 1, std::to_string(heap.allocations) + " allocations");
  FUZZ_REQUIRE(heap.requestSizes[0] == expected.size() + 1,
               "block of " + std::to_string(heap.requestSizes[0]) + " bytes for " +
                   std::to_string(expected.size()));
  FUZZ_REQUIRE(result != nullptr && heap.live.count(result) == 1, "the result is not the block");
  FUZZ_REQUIRE(
      std::memcmp(result, expected.c_str(), expected.size() + 1) == 0,
      "\"" + fuzz::Escaped(Joined(result)) + "\" instead of \"" + fuzz::Escaped(expected) + "\"");
  ulmora::ReleaseText(result);
  FUZZ_REQUIRE(heap.live.empty(), "blocks left after the release");
  return 0;
}
