// TextLength over arbitrary bytes: it equals strlen from every start alignment, and it never
// reads past the aligned word that holds the terminator, even where the next page is gone.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "text/text.h"

namespace {

// Two pages, the second one inaccessible: a read past the first page faults.
struct GuardedPage {
  char* page = nullptr;
  std::size_t size = 0;
  GuardedPage() {
    size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    void* p = mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED || mprotect(static_cast<char*>(p) + size, size, PROT_NONE) != 0) {
      std::abort();
    }
    page = static_cast<char*>(p);
  }
};

// Every text that the bytes hold: one after each terminator, at whatever alignment it falls.
void CheckEveryText(const char* begin, std::size_t size) {
  for (std::size_t start = 0; start <= size;) {
    const char* text = begin + start;
    const std::size_t expected = std::strlen(text);
    const std::uint32_t length = ulmora::TextLength(text);
    FUZZ_REQUIRE(length == expected,
                 "text \"" + fuzz::Escaped({text, expected}) + "\" at address mod 4 = " +
                     std::to_string(reinterpret_cast<std::uintptr_t>(text) % 4) + ": " +
                     std::to_string(length) + " instead of " + std::to_string(expected));
    start += expected + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes behind 0 to 3 bytes of an aligned block, terminated.
  auto words = std::make_unique<std::uint32_t[]>(size / 4 + 3);
  char* base = reinterpret_cast<char*>(words.get());
  for (std::size_t align = 0; align < 4; ++align) {
    std::memcpy(base + align, data, size);
    base[align + size] = '\0';
    CheckEveryText(base + align, size);
  }

  // The first text of the bytes, placed so that its terminator lies in the last word of the
  // page, in each of the word's four bytes; the bytes after the terminator stay non-zero.
  static const GuardedPage guarded;
  const std::size_t length =
      std::min(strnlen(reinterpret_cast<const char*>(data), size), guarded.size - 4);
  for (std::size_t at = guarded.size - 4; at < guarded.size; ++at) {
    char* text = guarded.page + at - length;
    std::memcpy(text, data, length);
    text[length] = '\0';
    std::memset(text + length + 1, 0xFF, guarded.size - at - 1);
    const std::uint32_t measured = ulmora::TextLength(text);
    FUZZ_REQUIRE(measured == length, "at the page's end: " + std::to_string(measured) +
                                         " instead of " + std::to_string(length));
  }
  return 0;
}
