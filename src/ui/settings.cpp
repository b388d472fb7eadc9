#include "ui/settings.h"

#include "fatal/fatal.h"
#include "ui/window.h"

namespace ulmora {
namespace {

// The control that an access names; ends the program where the access cannot be served.
ControlState* Resolve(std::uint32_t windowIdentity, std::uint32_t controlIdentity,
                      std::uint32_t index) {
  LoadedWindow* window = FindWindowByIdentity(windowIdentity);
  if (window == nullptr) ReportFatalError("未载入欲访问窗口组件所在的窗口");
  ControlState* control = FindControl(window, controlIdentity);
  if (control == nullptr || (index >= setting::kFirstKindSetting && control->window == nullptr)) {
    ReportFatalError("指定窗口尚未载入");
  }
  return control;
}

// The native window's text as a fresh text, null when it is empty: one allocation.
Text ReadLiveText(platform::Window native) {
  const std::uint32_t length = platform::WindowTextLength(native);
  if (length == 0 || length == UINT32_MAX) return nullptr;
  Text text = AllocateText(length + 1);
  if (platform::ReadWindowText(native, text, length + 1) == 0) {
    ReleaseText(text);
    return nullptr;
  }
  return text;
}

bool IsCaption(const ControlDescription& d, std::uint32_t index) {
  return (d.kind == ControlKind::Button && index == 10) ||
         (d.kind == ControlKind::RadioBox && index == 11);
}

}  // namespace

std::int32_t ReadNumberSetting(std::uint32_t window, std::uint32_t control, std::uint32_t index) {
  const ControlState& c = *Resolve(window, control, index);
  const ControlDescription& d = *c.description;
  switch (index) {
    case setting::kLeft: return d.left;
    case setting::kTop: return d.top;
    case setting::kWidth: return d.width;
    case setting::kHeight: return d.height;
    case setting::kVisible:
      return c.window != nullptr ? platform::WindowVisible(c.window) : d.visible;
    case setting::kDisabled:
      return c.window != nullptr ? !platform::WindowEnabled(c.window) : d.disabled;
    case setting::kMousePointer: return d.mousePointer;
    default: break;
  }
  if (d.kind == ControlKind::RadioBox && index == setting::kRadioChecked) {
    // Only a checked state counts; an indeterminate one reads as unchecked.
    return platform::GetCheck(c.window) == platform::CheckState::Checked ? 1 : 0;
  }
  if (d.kind == ControlKind::HyperLinker) return ReadHyperLinkerNumber(c.link, index);
  return 0;
}

Text ReadTextSetting(std::uint32_t window, std::uint32_t control, std::uint32_t index) {
  const ControlState& c = *Resolve(window, control, index);
  const ControlDescription& d = *c.description;
  if (index == setting::kTag) return CopyText(d.tag);
  if ((d.kind == ControlKind::EditBox && index == setting::kEditContent) || IsCaption(d, index)) {
    return ReadLiveText(c.window);
  }
  if (d.kind == ControlKind::HyperLinker) return ReadHyperLinkerText(c.link, index);
  return nullptr;
}

void WriteNumberSetting(std::uint32_t window, std::uint32_t control, std::uint32_t index,
                        std::int32_t value) {
  ControlState& c = *Resolve(window, control, index);
  const ControlDescription& d = *c.description;
  if (d.kind == ControlKind::RadioBox && index == setting::kRadioChecked) {
    platform::SetCheck(c.window, value != 0);  // this control alone; the others keep theirs
  } else if (d.kind == ControlKind::HyperLinker) {
    // A choice never sees a negative value.
    WriteHyperLinkerNumber(&c.link, index, index == setting::kLinkKind && value < 0 ? 0 : value);
  }
}

void WriteTextSetting(std::uint32_t window, std::uint32_t control, std::uint32_t index,
                      const char* text) {
  ControlState& c = *Resolve(window, control, index);
  const ControlDescription& d = *c.description;
  if ((d.kind == ControlKind::EditBox && index == setting::kEditContent) || IsCaption(d, index)) {
    platform::SetWindowTextTo(c.window, text != nullptr ? text : "");
  } else if (d.kind == ControlKind::HyperLinker) {
    WriteHyperLinkerText(&c.link, index, text);
  }
}

}  // namespace ulmora
