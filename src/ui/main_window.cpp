#include "ui/main_window.h"

#include "platform/platform.h"

namespace ulmora {
namespace {

constexpr char kFace[] = "微软雅黑";
constexpr FontDescription Font(int height) { return {kFace, height, 400, false, false, false}; }

constexpr EventBinding kButtonBindings[] = {{event::kClick, HandlerId::SearchButtonClicked}};
constexpr EventBinding kFieldBindings[] = {{event::kKeyDown, HandlerId::QueryKeyPressed}};

constexpr EditBoxSettings kQueryFieldSettings = {
    .content = "",
    .border = 1,
    .textColor = 0x000000,
    .backColor = 0xFFFFFF,
    .font = Font(16),
    .hideSelection = true,
    .maxLength = 0,
    .multiline = false,
    .scrollBars = 0,
    .alignment = 0,
    .inputMode = 0,
    .passwordChar = "*",
    .caseConversion = 0,
    .spinKind = 0,
    .spinMin = 0,
    .spinMax = 100,
    .selectionStart = 0,
    .selectionLength = 0,
};

constexpr ButtonSettings kSearchButtonSettings = {
    .picture = nullptr,
    .buttonKind = 0,
    .caption = "搜",
    .hAlign = 1,
    .vAlign = 1,
    .font = Font(21),
};

constexpr RadioBoxSettings Radio(const char* caption, bool checked) {
  return {
      .picture = nullptr,
      .pushLike = false,
      .flat = false,
      .caption = caption,
      .textOnLeft = false,
      .hAlign = 0,
      .vAlign = 1,
      .textColor = 0x000000,
      .backColor = platform::kSystemButtonFace,
      .font = Font(12),
      .checked = checked,
  };
}

constexpr RadioBoxSettings kBaidu = Radio("百度", true);
constexpr RadioBoxSettings kGoogle = Radio("谷歌", false);
constexpr RadioBoxSettings kBing = Radio("必应", false);
constexpr RadioBoxSettings kTaobao = Radio("淘宝", false);
constexpr RadioBoxSettings kWanwang = Radio("万网", false);

constexpr ControlDescription Control(ControlKind kind, std::uint32_t identity, const char* name,
                                     int left, int top, int width, int height, bool tabStop) {
  return {
      .kind = kind,
      .identity = identity,
      .name = name,
      .left = left,
      .top = top,
      .width = width,
      .height = height,
      .parent = 0,
      .tag = "",
      .mousePointer = 0,
      .visible = true,
      .disabled = false,
      .tabStop = tabStop,
      .tabOrder = 0,
      .bindings = nullptr,
      .bindingCount = 0,
      .edit = nullptr,
      .button = nullptr,
      .radio = nullptr,
  };
}

constexpr ControlDescription RadioControl(std::uint32_t identity, const char* name, int left,
                                          int top, int width, int height,
                                          const RadioBoxSettings* settings) {
  ControlDescription c =
      Control(ControlKind::RadioBox, identity, name, left, top, width, height, true);
  c.radio = settings;
  return c;
}

constexpr ControlDescription ButtonControl() {
  ControlDescription c =
      Control(ControlKind::Button, kSearchButton, "按钮1", 296, 13, 54, 54, true);
  c.button = &kSearchButtonSettings;
  c.bindings = kButtonBindings;
  c.bindingCount = 1;
  return c;
}

constexpr ControlDescription FieldControl() {
  ControlDescription c =
      Control(ControlKind::EditBox, kQueryField, "编辑框1", 22, 13, 257, 27, true);
  c.edit = &kQueryFieldSettings;
  c.bindings = kFieldBindings;
  c.bindingCount = 1;
  return c;
}

// Stored order: it decides the stacking and breaks ties in keyboard navigation.
constexpr ControlDescription kControls[] = {
    RadioControl(kRadioBing, "单选框3", 127, 50, 49, 23, &kBing),
    Control(ControlKind::HyperLinker, kHyperLinker, "超级链接框1", 416, 280, 24, 16, false),
    RadioControl(kRadioWanwang, "单选框5", 235, 51, 49, 23, &kWanwang),
    RadioControl(kRadioTaobao, "单选框4", 183, 54, 54, 16, &kTaobao),
    RadioControl(kRadioGoogle, "单选框2", 72, 54, 50, 16, &kGoogle),
    RadioControl(kRadioBaidu, "单选框1", 20, 54, 44, 16, &kBaidu),
    ButtonControl(),
    FieldControl(),
};

}  // namespace

const WindowDescription MainWindow = {
    .identity = kMainWindowId,
    .name = "",
    .settings =
        {
            .left = 50,
            .top = 50,
            .width = 375,
            .height = 102,
            .tag = "",
            .visible = true,
            .disabled = false,
            .mousePointer = 0,
            .title = "   Ulmora",
            .frameStyle = 2,
            .backColor = platform::kSystemButtonFace,
            .backPicture = nullptr,
            .pictureMode = 1,
            .backMusic = nullptr,
            .playCount = 0,
            .controlBox = true,
            .maxButton = false,
            .minButton = false,
            .startPosition = 1,
            .movable = true,
            .hasIcon = true,
            .enterMovesFocus = false,
            .escCloses = true,
            .f1Help = false,
            .helpFile = "",
            .helpContext = 0,
            .showInTaskbar = false,
            .dragAnywhere = false,
            .shape = 0,
            .alwaysOnTop = false,
            .keepTitleActive = false,
            .className = "",
        },
    .bindings = nullptr,
    .bindingCount = 0,
    .controls = kControls,
    .controlCount = sizeof kControls / sizeof kControls[0],
};

}  // namespace ulmora
