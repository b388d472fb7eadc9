// The description of MainWindow, the program's only window.
#pragma once

#include <cstdint>

#include "ui/window_description.h"

namespace ulmora {

inline constexpr std::uint32_t kMainWindowId = 0x52010001;

inline constexpr std::uint32_t kRadioBing = 0x1601002e;     // 单选框3
inline constexpr std::uint32_t kHyperLinker = 0x1601001f;   // 超级链接框1
inline constexpr std::uint32_t kRadioWanwang = 0x16010009;  // 单选框5
inline constexpr std::uint32_t kRadioTaobao = 0x16010006;   // 单选框4
inline constexpr std::uint32_t kRadioGoogle = 0x16010005;   // 单选框2
inline constexpr std::uint32_t kRadioBaidu = 0x16010004;    // 单选框1
inline constexpr std::uint32_t kSearchButton = 0x16010003;  // 按钮1
inline constexpr std::uint32_t kQueryField = 0x16010002;    // 编辑框1

extern const WindowDescription MainWindow;

}  // namespace ulmora
