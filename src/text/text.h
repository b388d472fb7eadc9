// Text: NUL-terminated multibyte text in the ANSI code page, or null for the empty text.
// Lengths and copies are in bytes; nothing here interprets the encoding.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ulmora {

using Text = char*;  // an owned text: released exactly once with ReleaseText

std::uint32_t TextLength(const char* text);

// A block of size bytes from the text heap; never null (failure ends the program).
Text AllocateText(std::uint32_t size);
void ReleaseText(const char* text);

// A fresh copy of text, or null when text is null or empty.
Text CopyText(const char* text);

// Ends the program with the allocation-failure report for size.
[[noreturn]] void ReportAllocationFailure(std::uint32_t size);

// Adds the lengths of count pieces to the terminator's byte. False when the sum leaves 32 bits.
bool TotalTextSize(const std::uint32_t* lengths, std::uint32_t count, std::uint32_t* total);

// Joins count pieces (null ones count as empty) into one new text with a single allocation.
// lengths is scratch storage of at least count entries, owned by the caller's frame.
Text ConcatTextWith(std::uint32_t count, const char* const* pieces, std::uint32_t* lengths);

// The first count entries of pieces, in order; the scratch list lives on this call's stack.
template <std::size_t N>
Text ConcatText(std::uint32_t count, const char* const (&pieces)[N]) {
  static_assert(N > 0);
  std::uint32_t lengths[N];
  return ConcatTextWith(count < N ? count : static_cast<std::uint32_t>(N), pieces, lengths);
}

template <std::size_t N>
Text ConcatText(const char* const (&pieces)[N]) {
  return ConcatText(static_cast<std::uint32_t>(N), pieces);
}

}  // namespace ulmora
