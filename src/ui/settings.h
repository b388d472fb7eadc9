// Setting read and write by window, control and setting index.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace ulmora {

// A number setting (booleans are 1 or 0).
std::int32_t ReadNumberSetting(std::uint32_t window, std::uint32_t control, std::uint32_t index);
// A text setting as a fresh text owned by the reader; null for an empty text.
Text ReadTextSetting(std::uint32_t window, std::uint32_t control, std::uint32_t index);

void WriteNumberSetting(std::uint32_t window, std::uint32_t control, std::uint32_t index,
                        std::int32_t value);
// The control keeps a copy; the writer still owns text.
void WriteTextSetting(std::uint32_t window, std::uint32_t control, std::uint32_t index,
                      const char* text);

}  // namespace ulmora
