#include "text/text.h"

#include <cstring>

#include "fatal/fatal.h"
#include "platform/platform.h"

#if defined(__clang__) || defined(__GNUC__)
#define ULMORA_NO_SANITIZE_ADDRESS __attribute__((no_sanitize_address))
#else
#define ULMORA_NO_SANITIZE_ADDRESS
#endif

namespace ulmora {
namespace {

// Writes value as signed decimal; returns the number of characters written (at most 11).
std::uint32_t FormatSigned(std::int32_t value, char* out) {
  char digits[10];
  std::uint32_t count = 0;
  std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value)
                                      : static_cast<std::uint32_t>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::uint32_t n = 0;
  if (value < 0) out[n++] = '-';
  while (count > 0) out[n++] = digits[--count];
  return n;
}

}  // namespace

// The aligned word that holds the terminator may reach past the end of the block, never past
// the aligned word itself, so it never crosses a page; the sanitizer cannot know that.
ULMORA_NO_SANITIZE_ADDRESS
std::uint32_t TextLength(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (reinterpret_cast<std::uintptr_t>(p) % 4 != 0) {
    if (*p == '\0') return static_cast<std::uint32_t>(p - text);
    ++p;
  }
  for (;; p += 4) {
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    if ((((w + 0x7EFEFEFFu) ^ ~w) & 0x81010100u) == 0) continue;
    // Flagged: look for the terminator byte by byte, in address order.
    for (int i = 0; i < 4; ++i) {
      if (p[i] == '\0') return static_cast<std::uint32_t>(p + i - text);
    }
  }
}

void ReportAllocationFailure(std::uint32_t size) {
  // "分配 %d 字节内存失败!" with the size as signed decimal, in a 100-byte buffer.
  static constexpr char kBefore[] = "分配 ";
  static constexpr char kAfter[] = " 字节内存失败!";
  char message[100];
  std::uint32_t n = 0;
  std::memcpy(message, kBefore, sizeof kBefore - 1);
  n += sizeof kBefore - 1;
  n += FormatSigned(static_cast<std::int32_t>(size), message + n);
  std::memcpy(message + n, kAfter, sizeof kAfter);  // with its terminator
  ReportFatalError(message);
}

Text AllocateText(std::uint32_t size) {
  void* block = platform::HeapAllocate(size);
  if (block == nullptr) ReportAllocationFailure(size);
  return static_cast<Text>(block);
}

void ReleaseText(const char* text) {
  if (text == nullptr) return;
  platform::HeapRelease(const_cast<char*>(text));
}

Text CopyText(const char* text) {
  const std::uint32_t length = TextLength(text);
  if (length == 0) return nullptr;
  Text copy = AllocateText(length + 1);
  std::memcpy(copy, text, length + 1);
  return copy;
}

bool TotalTextSize(const std::uint32_t* lengths, std::uint32_t count, std::uint32_t* total) {
  std::uint64_t sum = 1;  // the terminator
  for (std::uint32_t i = 0; i < count; ++i) {
    sum += lengths[i];
    if (sum > UINT32_MAX) return false;
  }
  *total = static_cast<std::uint32_t>(sum);
  return true;
}

Text ConcatTextWith(std::uint32_t count, const char* const* pieces, std::uint32_t* lengths) {
  for (std::uint32_t i = 0; i < count; ++i) lengths[i] = TextLength(pieces[i]);
  std::uint32_t total = 0;
  if (!TotalTextSize(lengths, count, &total)) ReportAllocationFailure(UINT32_MAX);
  Text result = AllocateText(total);
  char* at = result;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (lengths[i] == 0) continue;  // null or empty: nothing to read
    std::memcpy(at, pieces[i], lengths[i]);
    at += lengths[i];
  }
  *at = '\0';
  return result;
}

}  // namespace ulmora
