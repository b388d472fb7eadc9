#include "text/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "stand_in_platform.h"

namespace ulmora {
namespace {

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override { stand_in::Reset(); }
  void TearDown() override { EXPECT_TRUE(stand_in::Get().heap.live.empty()); }
};

TEST_F(TextTest, LengthOfNullEmptyAndGbk) {
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("\xb0\xd9\xb6\xc8"), 4u);  // 百度 in GBK
}

// Every start alignment and length, with bytes of 0x80 and above in each position of a word:
// a word can be flagged without holding a terminator.
TEST_F(TextTest, LengthMatchesStrlenForEveryAlignmentAndHighBytes) {
  alignas(16) char buffer[96];
  const unsigned char fills[] = {'a', 0x80, 0x81, 0xFF, 0xFE, 0x01, 0x7F};
  for (unsigned char fill : fills) {
    for (int highAt = -1; highAt < 4; ++highAt) {
      for (std::size_t align = 0; align < 4; ++align) {
        for (std::size_t length = 0; length <= 70; ++length) {
          std::memset(buffer, 'x', sizeof buffer);
          char* text = buffer + align;
          for (std::size_t i = 0; i < length; ++i) {
            const bool high = highAt >= 0 && (reinterpret_cast<std::uintptr_t>(text + i) % 4) ==
                                                 static_cast<std::uintptr_t>(highAt);
            text[i] = static_cast<char>(high ? 0xFF : fill);
          }
          text[length] = '\0';
          ASSERT_EQ(TextLength(text), std::strlen(text))
              << "fill " << int(fill) << " high " << highAt << " align " << align << " length "
              << length;
        }
      }
    }
  }
}

TEST_F(TextTest, ConcatJoinsPiecesAndSkipsNull) {
  const char* pieces[] = {"ab", nullptr, "cd"};
  Text joined = ConcatText(pieces);
  EXPECT_STREQ(joined, "abcd");
  EXPECT_EQ(stand_in::Get().heap.requestSizes, std::vector<std::uint32_t>{5});
  ReleaseText(joined);
}

TEST_F(TextTest, ConcatOfOnePieceIsAFreshCopy) {
  char original[] = "query";
  const char* pieces[] = {original};
  Text copy = ConcatText(pieces);
  ASSERT_NE(copy, original);
  ReleaseText(copy);
  EXPECT_STREQ(original, "query");
}

TEST_F(TextTest, ConcatOfEmptyPiecesIsAnAllocatedTerminator) {
  const char* pieces[] = {nullptr, "", nullptr};
  Text joined = ConcatText(pieces);
  ASSERT_NE(joined, nullptr);
  EXPECT_EQ(joined[0], '\0');
  EXPECT_EQ(stand_in::Get().heap.requestSizes, std::vector<std::uint32_t>{1});
  ReleaseText(joined);
}

// More pieces than any fixed scratch list would hold; still one allocation, every byte in place.
TEST_F(TextTest, ConcatOfManyPiecesMakesOneAllocation) {
  static const char* pieces[4096];
  std::string expected;
  std::vector<std::string> owned(4096);
  for (std::size_t i = 0; i < 4096; ++i) {
    owned[i] = i % 7 == 0 ? "" : std::to_string(i);
    pieces[i] = i % 11 == 0 ? nullptr : owned[i].c_str();
    if (pieces[i] != nullptr) expected += owned[i];
  }
  Text joined = ConcatText(pieces);
  EXPECT_EQ(stand_in::Get().heap.allocations, 1u);
  EXPECT_EQ(std::string(joined), expected);
  ReleaseText(joined);
}

TEST_F(TextTest, ConcatUsesOnlyTheFirstCountPieces) {
  const char* pieces[] = {"a", "b", "c"};
  Text joined = ConcatText(2, pieces);
  EXPECT_STREQ(joined, "ab");
  ReleaseText(joined);
}

TEST_F(TextTest, ReleaseOfNullDoesNothing) {
  ReleaseText(nullptr);
  EXPECT_EQ(stand_in::Get().heap.allocations, 0u);
}

TEST_F(TextTest, TotalSizeRefusesSumsPastThirtyTwoBits) {
  std::uint32_t total = 0;
  const std::uint32_t fits[] = {0xFFFFFFFEu};
  EXPECT_TRUE(TotalTextSize(fits, 1, &total));
  EXPECT_EQ(total, 0xFFFFFFFFu);
  const std::uint32_t wraps[] = {0xFFFFFFFFu};
  EXPECT_FALSE(TotalTextSize(wraps, 1, &total));
  const std::uint32_t pairWraps[] = {0x80000000u, 0x7FFFFFFFu};
  EXPECT_FALSE(TotalTextSize(pairWraps, 2, &total));
  const std::uint32_t many[] = {0x40000000u, 0x40000000u, 0x40000000u, 0x40000000u};
  EXPECT_FALSE(TotalTextSize(many, 4, &total));
}

struct FailureCase {
  std::uint32_t size;
  const char* message;
};

TEST_F(TextTest, AllocationFailureReportsTheSizeAndEndsWithMinusOne) {
  const FailureCase cases[] = {
      {1024, "分配 1024 字节内存失败!"},
      {0, "分配 0 字节内存失败!"},
      {0x7FFFFFFFu, "分配 2147483647 字节内存失败!"},
      {0x80000000u, "分配 -2147483648 字节内存失败!"},  // signed decimal, as the format says
      {0xFFFFFFFFu, "分配 -1 字节内存失败!"},
  };
  for (const FailureCase& c : cases) {
    stand_in::Reset();
    stand_in::Get().heap.failAll = true;
    try {
      AllocateText(c.size);
      ADD_FAILURE() << "AllocateText returned";
    } catch (const stand_in::ProcessEnded& ended) {
      EXPECT_EQ(ended.exitCode, -1);
    }
    ASSERT_EQ(stand_in::Get().errorBoxes.size(), 1u);
    EXPECT_EQ(stand_in::Get().errorBoxes[0].caption, "错误");
    EXPECT_EQ(stand_in::Get().errorBoxes[0].text,
              std::string("运行时出错!\r\n\r\n错误信息：") + c.message + "\r\n");
  }
}

}  // namespace
}  // namespace ulmora
