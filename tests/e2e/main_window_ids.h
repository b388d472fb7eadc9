// The control identities of the program's main window, as its window description stores them.
// The e2e tests keep their own copy: a changed identity in the program must fail here.
#pragma once

namespace ulmora::e2e {

inline constexpr int kRadioBing = 0x1601002e;     // 单选框3 必应
inline constexpr int kHyperLinker = 0x1601001f;   // 超级链接框1
inline constexpr int kRadioWanwang = 0x16010009;  // 单选框5 万网
inline constexpr int kRadioTaobao = 0x16010006;   // 单选框4 淘宝
inline constexpr int kRadioGoogle = 0x16010005;   // 单选框2 谷歌
inline constexpr int kRadioBaidu = 0x16010004;    // 单选框1 百度
inline constexpr int kSearchButton = 0x16010003;  // 按钮1 搜
inline constexpr int kQueryField = 0x16010002;    // 编辑框1

inline constexpr int kRadios[] = {kRadioBaidu, kRadioGoogle, kRadioBing, kRadioTaobao,
                                  kRadioWanwang};

// An ASCII name for failure messages.
inline const char* ControlLabel(int id) {
  switch (id) {
    case kRadioBing: return "Bing radio";
    case kHyperLinker: return "link";
    case kRadioWanwang: return "Wanwang radio";
    case kRadioTaobao: return "Taobao radio";
    case kRadioGoogle: return "Google radio";
    case kRadioBaidu: return "Baidu radio";
    case kSearchButton: return "search button";
    case kQueryField: return "query field";
  }
  return "unknown control";
}

}  // namespace ulmora::e2e
