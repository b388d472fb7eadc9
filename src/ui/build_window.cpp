// Building a window and its controls from the description.
#include <cstring>

#include "fatal/fatal.h"
#include "ui/window.h"

namespace ulmora {
namespace {

platform::HAlign ToHAlign(std::int32_t value) {
  return value == 1 ? platform::HAlign::Center
                    : (value == 2 ? platform::HAlign::Right : platform::HAlign::Left);
}

platform::VAlign ToVAlign(std::int32_t value) {
  return value == 1 ? platform::VAlign::Center
                    : (value == 2 ? platform::VAlign::Bottom : platform::VAlign::Top);
}

// What the native control is made from: the common settings, then the kind's own.
platform::ControlSpec SpecFor(const ControlDescription& d) {
  platform::ControlSpec params{};
  params.id = d.identity;
  params.rect = {d.left, d.top, d.width, d.height};
  params.text = "";
  params.tabStop = d.tabStop;
  params.disabled = d.disabled;
  params.textColor = 0x000000;
  params.backColor = platform::kSystemButtonFace;
  switch (d.kind) {
    case ControlKind::EditBox: {
      const EditBoxSettings& e = *d.edit;
      params.controlClass = platform::ControlClass::Edit;
      params.text = e.content != nullptr ? e.content : "";
      params.hAlign = ToHAlign(e.alignment);
      params.clientEdge = e.border == 1;
      params.hideSelection = e.hideSelection;
      params.multiline = e.multiline;
      params.readOnly = e.inputMode == 1;
      params.password = e.inputMode == 2;
      params.maxLength = e.maxLength;
      params.textColor = e.textColor;
      params.backColor = e.backColor;
      break;
    }
    case ControlKind::Button: {
      const ButtonSettings& b = *d.button;
      params.controlClass = platform::ControlClass::PushButton;
      params.text = b.caption != nullptr ? b.caption : "";
      params.multilineCaption = true;
      params.defaultButton = b.buttonKind == 1;
      params.hAlign = ToHAlign(b.hAlign);
      params.vAlign = ToVAlign(b.vAlign);
      break;
    }
    case ControlKind::RadioBox: {
      const RadioBoxSettings& r = *d.radio;
      params.controlClass = platform::ControlClass::RadioButton;
      params.text = r.caption != nullptr ? r.caption : "";
      params.multilineCaption = true;
      params.textOnLeft = r.textOnLeft;
      params.hAlign = ToHAlign(r.hAlign);
      params.vAlign = ToVAlign(r.vAlign);
      params.textColor = r.textColor;
      params.backColor = r.backColor;
      break;
    }
    case ControlKind::HyperLinker:
    case ControlKind::Window:
      params.controlClass = platform::ControlClass::HyperLinker;
      break;
  }
  return params;
}

const FontDescription* FontOf(const ControlDescription& d) {
  switch (d.kind) {
    case ControlKind::EditBox: return &d.edit->font;
    case ControlKind::Button: return &d.button->font;
    case ControlKind::RadioBox: return &d.radio->font;
    default: return nullptr;
  }
}

bool HasKindSettings(const ControlDescription& d) {
  switch (d.kind) {
    case ControlKind::EditBox: return d.edit != nullptr;
    case ControlKind::Button: return d.button != nullptr;
    case ControlKind::RadioBox: return d.radio != nullptr;
    case ControlKind::HyperLinker: return true;
    case ControlKind::Window: return false;
  }
  return false;
}

bool SameFont(const FontDescription& a, const FontDescription& b) {
  return std::strcmp(a.face, b.face) == 0 && a.charHeight == b.charHeight &&
         a.weight == b.weight && a.italic == b.italic && a.underline == b.underline &&
         a.strikeOut == b.strikeOut;
}

// Controls with equal font settings share one font: the first control that made it owns it.
// Making a font costs a font match, which is much of the window's start-up.
platform::Font FontFor(const LoadedWindow& window, const ControlState& control) {
  const FontDescription* font = FontOf(*control.description);
  if (font == nullptr || font->face == nullptr) return nullptr;
  for (std::uint32_t i = 0; i < window.description->controlCount; ++i) {
    const ControlState& other = window.controls[i];
    const FontDescription* made = FontOf(*other.description);
    if (&other != &control && other.ownsFont && made != nullptr && SameFont(*made, *font)) {
      return other.font;
    }
  }
  return nullptr;
}

bool CreateControlFrom(LoadedWindow* window, ControlState* control) {
  const platform::Window parent = window->window;
  const ControlDescription& d = *control->description;
  if (!HasKindSettings(d)) return false;
  if (d.kind == ControlKind::HyperLinker) {
    // Every setting starts from its default; the description holds none for this kind.
    ResetHyperLinker(&control->link);
  }
  platform::ControlSpec params = SpecFor(d);
  if (d.kind == ControlKind::HyperLinker && control->link.caption != nullptr) {
    params.text = control->link.caption;
  }
  control->window = platform::CreateControl(parent, params);
  if (control->window == nullptr) return false;
  control->link.window = d.kind == ControlKind::HyperLinker ? control->window : nullptr;

  const FontDescription* font = FontOf(d);
  if (font != nullptr && font->face != nullptr) {
    control->font = FontFor(*window, *control);
    if (control->font == nullptr) {
      // A font that cannot be made leaves the control in the system's default font.
      control->font = platform::MakeFont({font->face, font->charHeight, font->weight,
                                          font->italic, font->underline, font->strikeOut});
      control->ownsFont = control->font != nullptr;
    }
    if (control->font != nullptr) platform::SetControlFont(control->window, control->font);
  }
  if (d.kind == ControlKind::EditBox) {
    platform::SetEditSelection(control->window, d.edit->selectionStart,
                               d.edit->selectionLength);
  } else if (d.kind == ControlKind::RadioBox && d.radio->checked) {
    platform::SetCheck(control->window, true);
  }
  return true;
}

platform::Rect OuterRect(const WindowSettings& s) {
  platform::Rect rect{s.left, s.top, s.width, s.height};
  if (s.startPosition == 1) {
    const platform::ScreenSize screen = platform::PrimaryScreenSize();
    rect.left = (screen.width - s.width) / 2;
    rect.top = (screen.height - s.height) / 2;
  }
  return rect;
}

bool CreateTopLevelFrom(LoadedWindow* window, platform::Window owner,
                        platform::Window hiddenToolWindow) {
  const WindowSettings& s = window->description->settings;
  platform::TopLevelSpec params{};
  params.title = s.title != nullptr ? s.title : "";
  params.outer = OuterRect(s);
  params.titleBar = s.frameStyle != 0 && ((s.title != nullptr && s.title[0] != '\0') || s.controlBox);
  params.systemMenu = s.controlBox;
  params.minimizeBox = s.minButton;
  params.maximizeBox = s.maxButton;
  params.sizingBorder = s.frameStyle == 1;
  params.topmost = s.alwaysOnTop;
  params.owner = owner != nullptr ? owner : (s.showInTaskbar ? nullptr : hiddenToolWindow);
  params.backColor = s.backColor;
  window->window = platform::CreateTopLevel(params);
  if (window->window == nullptr) return false;

  platform::Rect created{};
  if (!platform::GetOuterRect(window->window, &created)) return false;
  if (created.width != params.outer.width || created.height != params.outer.height) {
    if (!platform::SetOuterRect(window->window, params.outer)) return false;
  }
  if (s.hasIcon) platform::SetProgramIcon(window->window);
  return true;
}

void DestroyPartial(LoadedWindow* window) {
  const platform::Window native = window->window;
  if (native == nullptr) return;
  // The window is not open yet, so the report of its destruction finds no loaded window.
  window->window = nullptr;
  platform::DestroyNativeWindow(native);
  ForgetNativeWindow(window);
}

}  // namespace

bool BuildWindow(LoadedWindow* window, platform::Window owner, platform::Window hiddenToolWindow) {
  const WindowDescription& d = *window->description;
  RaiseEventSuppression();
  bool built = CreateTopLevelFrom(window, owner, hiddenToolWindow);
  // Controls are created from the last in stored order to the first.
  for (std::uint32_t i = d.controlCount; built && i > 0; --i) {
    built = CreateControlFrom(window, &window->controls[i - 1]);
  }
  // Stacking order is the stored order: the first control on top, each next one below.
  for (std::uint32_t i = 0; built && i < d.controlCount; ++i) {
    built = platform::PlaceBelow(window->controls[i].window,
                                 i == 0 ? nullptr : window->controls[i - 1].window);
  }
  if (!built) {
    DestroyPartial(window);
    LowerEventSuppression();
    return false;
  }
  for (std::uint32_t i = 0; i < d.controlCount; ++i) {
    platform::ShowChild(window->controls[i].window, window->controls[i].description->visible);
  }
  LowerEventSuppression();
  // No creation event is bound in this program's windows, so none is raised here.
  if (d.settings.visible) platform::ShowTopLevel(window->window);
  return true;
}

}  // namespace ulmora
