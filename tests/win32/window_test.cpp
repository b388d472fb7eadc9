// The window system of the port against the real one: what CreateTopLevel and CreateControl make,
// fonts, stacking, colours, the events the window procedures report, and the message queue.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// What the backend reported, in order. This program stands in for the logic: the shell's own
// definitions (src/app) stay out of the link because nothing here needs anything else of it.
struct Event {
  std::string what;
  platform::Window window;
  platform::Window other;
  bool operator==(const Event&) const = default;
};
void PrintTo(const Event& e, std::ostream* out) {
  *out << e.what << "(" << e.window << ", " << e.other << ")";
}
std::vector<Event> events;

}  // namespace

namespace platform_events {
void ControlClicked(platform::Window c) { events.push_back({"click", c, nullptr}); }
void WindowFocused(platform::Window w) { events.push_back({"focused", w, nullptr}); }
void WindowDeactivated(platform::Window w, platform::Window f) {
  events.push_back({"deactivated", w, f});
}
void WindowCloseRequested(platform::Window w) { events.push_back({"close", w, nullptr}); }
void WindowDestroyed(platform::Window w) { events.push_back({"destroyed", w, nullptr}); }
}  // namespace platform_events

namespace {

HWND H(platform::Window w) { return reinterpret_cast<HWND>(w); }
platform::Window W(HWND h) { return reinterpret_cast<platform::Window>(h); }

DWORD Style(platform::Window w) { return static_cast<DWORD>(GetWindowLongA(H(w), GWL_STYLE)); }
DWORD ExStyle(platform::Window w) {
  return static_cast<DWORD>(GetWindowLongA(H(w), GWL_EXSTYLE));
}

std::string ClassOf(platform::Window w) {
  char name[64] = {};
  GetClassNameA(H(w), name, sizeof name);
  return name;
}

std::string TextOf(platform::Window w) {
  char text[256] = {};
  GetWindowTextA(H(w), text, sizeof text);
  return text;
}

// Messages left behind by one test (activation, painting) are not the next one's business.
void DrainQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

platform::TopLevelSpec MainLikeSpec(platform::Window owner) {
  platform::TopLevelSpec params{};
  params.title = "   Ulmora \xcb\xd1";  // "搜" in GBK
  params.outer = {324, 333, 375, 102};
  params.titleBar = true;
  params.systemMenu = true;
  params.owner = owner;
  params.backColor = platform::kSystemButtonFace;
  return params;
}

platform::ControlSpec Control(platform::ControlClass kind, std::uint32_t id) {
  platform::ControlSpec params{};
  params.controlClass = kind;
  params.id = id;
  params.rect = {10, 10, 60, 20};
  params.text = "";
  params.tabStop = true;
  params.hideSelection = true;
  params.textColor = 0x000000;
  params.backColor = platform::kSystemButtonFace;
  return params;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool_ = platform::CreateHiddenToolWindow();
    ASSERT_NE(tool_, nullptr);
    top_ = platform::CreateTopLevel(MainLikeSpec(tool_));
    ASSERT_NE(top_, nullptr);
    events.clear();
  }
  void TearDown() override {
    platform::DestroyNativeWindow(top_);
    platform::DestroyNativeWindow(tool_);
    DrainQueue();
    events.clear();
  }
  platform::Window Make(const platform::ControlSpec& params) {
    platform::Window control = platform::CreateControl(top_, params);
    EXPECT_NE(control, nullptr);
    return control;
  }
  platform::Window tool_ = nullptr;
  platform::Window top_ = nullptr;
};

TEST_F(WindowTest, TheHiddenToolWindowIsABareToolWindow) {
  EXPECT_EQ(ClassOf(tool_), "UlmoraToolWindow");
  EXPECT_EQ(ExStyle(tool_) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
  EXPECT_EQ(Style(tool_) & (WS_VISIBLE | WS_CHILD | WS_POPUP | WS_SYSMENU | WS_THICKFRAME), 0);
  EXPECT_EQ(GetClassLongPtrA(H(tool_), GCL_STYLE), 0);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(H(tool_), GCLP_HCURSOR)),
            LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(GetClassLongPtrA(H(tool_), GCLP_HBRBACKGROUND), 0);
  EXPECT_EQ(TextOf(tool_), "");
  EXPECT_EQ(GetParent(H(tool_)), nullptr);
  // Its size is the system's minimum for such a window, whatever was asked: not checked.
}

TEST_F(WindowTest, TopLevelFramesFollowTheSpec) {
  struct Case {
    bool titleBar, systemMenu, minimizeBox, maximizeBox, sizingBorder, topmost;
    DWORD present, absent;
    DWORD exPresent, exAbsent;
  };
  const DWORD kAlwaysAbsent = WS_VISIBLE | WS_CHILD | WS_DISABLED;
  const DWORD kExAlwaysAbsent = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CLIENTEDGE;
  const Case cases[] = {
      // The main window: caption and close box, nothing else.
      {true, true, false, false, false, false, WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
       WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_POPUP, 0, WS_EX_TOPMOST},
      {true, true, true, true, true, true,
       WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, WS_POPUP,
       WS_EX_TOPMOST, 0},
      // No title bar: a pop-up with a fixed frame, or with a sizing border.
      {false, false, false, false, false, false, WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN,
       WS_BORDER | WS_SYSMENU | WS_THICKFRAME, 0, WS_EX_TOPMOST},
      {false, false, false, false, true, false, WS_POPUP | WS_THICKFRAME, WS_BORDER | WS_DLGFRAME,
       0, WS_EX_TOPMOST},
  };
  for (const Case& c : cases) {
    platform::TopLevelSpec params = MainLikeSpec(tool_);
    params.titleBar = c.titleBar;
    params.systemMenu = c.systemMenu;
    params.minimizeBox = c.minimizeBox;
    params.maximizeBox = c.maximizeBox;
    params.sizingBorder = c.sizingBorder;
    params.topmost = c.topmost;
    const platform::Window w = platform::CreateTopLevel(params);
    ASSERT_NE(w, nullptr);
    const std::string label = "titleBar " + std::to_string(c.titleBar) + " sizing " +
                              std::to_string(c.sizingBorder);
    EXPECT_EQ(Style(w) & c.present, c.present) << label;
    EXPECT_EQ(Style(w) & (c.absent | kAlwaysAbsent), 0) << label;
    EXPECT_EQ(ExStyle(w) & c.exPresent, c.exPresent) << label;
    EXPECT_EQ(ExStyle(w) & (c.exAbsent | kExAlwaysAbsent), 0) << label;
    EXPECT_EQ(ClassOf(w), "UlmoraWindow");
    EXPECT_EQ(GetWindow(H(w), GW_OWNER), H(tool_)) << "owned, so off the task bar";
    EXPECT_EQ(platform::ParentOf(w), nullptr) << "an owner is no parent";
    platform::Rect outer{};
    ASSERT_TRUE(platform::GetOuterRect(w, &outer));
    EXPECT_EQ(outer.left, 324);
    EXPECT_EQ(outer.top, 333);
    EXPECT_EQ(outer.width, 375);
    EXPECT_EQ(outer.height, 102);
    platform::DestroyNativeWindow(w);
  }
  EXPECT_EQ(TextOf(top_), "   Ulmora \xcb\xd1") << "the title's GBK bytes";
}

TEST_F(WindowTest, ControlStylesFollowTheSpec) {
  using platform::ControlClass;
  using platform::HAlign;
  using platform::VAlign;
  struct Case {
    const char* label;
    platform::ControlSpec params;
    const char* className;
    DWORD present, absent, exPresent, exAbsent;
    int buttonType;  // BS_TYPEMASK part; -1 for a control that is no button
  };
  auto edit = Control(ControlClass::Edit, 0x16010002);
  edit.clientEdge = true;
  auto plainEdit = Control(ControlClass::Edit, 0x90000001);  // an id with the top bit set
  plainEdit.hAlign = HAlign::Center;
  plainEdit.hideSelection = false;
  plainEdit.readOnly = true;
  plainEdit.password = true;
  plainEdit.tabStop = false;
  plainEdit.disabled = true;
  auto multilineEdit = Control(ControlClass::Edit, 3);
  multilineEdit.hAlign = HAlign::Right;
  multilineEdit.multiline = true;
  auto button = Control(ControlClass::PushButton, 0x16010003);
  button.multilineCaption = true;
  button.hAlign = HAlign::Center;
  button.vAlign = VAlign::Center;
  auto defaultButton = Control(ControlClass::PushButton, 5);
  defaultButton.defaultButton = true;
  defaultButton.hAlign = HAlign::Right;
  defaultButton.vAlign = VAlign::Bottom;
  auto radio = Control(ControlClass::RadioButton, 0x16010004);
  radio.multilineCaption = true;
  radio.vAlign = VAlign::Center;
  auto leftTextRadio = Control(ControlClass::RadioButton, 7);
  leftTextRadio.textOnLeft = true;
  auto link = Control(ControlClass::HyperLinker, 0x1601001f);
  link.tabStop = false;

  const DWORD kEditAlign = ES_CENTER | ES_RIGHT;
  const DWORD kNeverOn = WS_VISIBLE | WS_GROUP | WS_POPUP;
  const Case cases[] = {
      {"edit", edit, "Edit", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL,
       kEditAlign | ES_NOHIDESEL | ES_MULTILINE | ES_READONLY | ES_PASSWORD | WS_DISABLED,
       WS_EX_CLIENTEDGE, 0, -1},
      {"plain edit", plainEdit, "Edit",
       WS_CHILD | ES_AUTOHSCROLL | ES_CENTER | ES_NOHIDESEL | ES_READONLY | ES_PASSWORD |
           WS_DISABLED,
       ES_RIGHT | ES_MULTILINE | WS_TABSTOP, 0, WS_EX_CLIENTEDGE, -1},
      {"multiline edit", multilineEdit, "Edit", ES_RIGHT | ES_MULTILINE | ES_AUTOHSCROLL,
       ES_CENTER, 0, WS_EX_CLIENTEDGE, -1},
      {"button", button, "Button", WS_TABSTOP | BS_MULTILINE | BS_CENTER | BS_VCENTER,
       WS_DISABLED, 0, 0, BS_PUSHBUTTON},
      {"default button", defaultButton, "Button", BS_RIGHT | BS_BOTTOM,
       BS_LEFT | BS_TOP | BS_MULTILINE, 0, 0, BS_DEFPUSHBUTTON},
      {"radio", radio, "Button", BS_MULTILINE | BS_LEFT | BS_VCENTER,
       BS_LEFTTEXT | BS_RIGHT | BS_PUSHLIKE | BS_FLAT, 0, 0, BS_AUTORADIOBUTTON},
      {"radio, text on the left", leftTextRadio, "Button", BS_LEFTTEXT | BS_TOP | BS_LEFT,
       BS_MULTILINE | BS_RIGHT | BS_BOTTOM, 0, 0, BS_AUTORADIOBUTTON},
      {"link", link, "UlmoraHyperLinker", WS_CHILD, WS_TABSTOP | WS_DISABLED, 0,
       WS_EX_CLIENTEDGE, -1},
  };
  for (const Case& c : cases) {
    platform::ControlSpec params = c.params;
    params.text = "\xb0\xd9\xb6\xc8";  // "百度" in GBK
    const platform::Window w = Make(params);
    ASSERT_NE(w, nullptr) << c.label;
    EXPECT_EQ(ClassOf(w), c.className) << c.label;
    EXPECT_EQ(Style(w) & c.present, c.present) << c.label;
    EXPECT_EQ(Style(w) & (c.absent | kNeverOn), 0) << c.label;
    EXPECT_EQ(ExStyle(w) & c.exPresent, c.exPresent) << c.label;
    EXPECT_EQ(ExStyle(w) & c.exAbsent, 0) << c.label;
    if (c.buttonType >= 0) {
      EXPECT_EQ(Style(w) & BS_TYPEMASK, static_cast<DWORD>(c.buttonType)) << c.label;
    }
    EXPECT_EQ(static_cast<std::uint32_t>(GetDlgCtrlID(H(w))), params.id) << c.label;
    EXPECT_EQ(platform::ParentOf(w), top_) << c.label;
    EXPECT_EQ(TextOf(w), params.text) << c.label;
    RECT rect;
    ASSERT_TRUE(GetWindowRect(H(w), &rect));
    EXPECT_EQ(rect.right - rect.left, 60) << c.label;
  }
}

TEST_F(WindowTest, AnEditFieldTakesItsLengthLimit) {
  for (std::uint32_t limit : {0u, 1u, 20u}) {
    platform::ControlSpec params = Control(platform::ControlClass::Edit, 2);
    params.maxLength = limit;
    const platform::Window edit = Make(params);
    const auto expected = limit == 0 ? 0x7FFFFFFEu : limit;  // 0: the largest a field has
    EXPECT_EQ(static_cast<std::uint32_t>(SendMessageA(H(edit), EM_GETLIMITTEXT, 0, 0)), expected);
  }
}

TEST_F(WindowTest, AControlWithoutAParentIsNotMade) {
  EXPECT_EQ(platform::CreateControl(nullptr, Control(platform::ControlClass::Edit, 2)), nullptr);
}

TEST_F(WindowTest, FontsAreMadeAtTheirCharacterHeight) {
  struct Case {
    int height, weight;
    bool italic, underline, strikeOut;
  };
  const platform::Window controls[] = {Make(Control(platform::ControlClass::Edit, 2)),
                                       Make(Control(platform::ControlClass::PushButton, 3)),
                                       Make(Control(platform::ControlClass::HyperLinker, 4))};
  for (const Case& c : {Case{16, 400, false, false, false}, Case{21, 700, true, false, false},
                        Case{12, 400, false, true, true}}) {
    const platform::Font font = platform::MakeFont(
        {"\xce\xa2\xc8\xed\xd1\xc5\xba\xda", c.height, c.weight, c.italic, c.underline,
         c.strikeOut});  // "微软雅黑" in GBK
    ASSERT_NE(font, nullptr);
    LOGFONTA logical{};
    ASSERT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(font), sizeof logical, &logical),
              static_cast<int>(sizeof logical));
    EXPECT_EQ(logical.lfHeight, -c.height) << "a negative height is the character height";
    EXPECT_EQ(logical.lfWeight, c.weight);
    EXPECT_EQ(logical.lfItalic != 0, c.italic);
    EXPECT_EQ(logical.lfUnderline != 0, c.underline);
    EXPECT_EQ(logical.lfStrikeOut != 0, c.strikeOut);
    EXPECT_EQ(logical.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(logical.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(logical.lfPitchAndFamily, DEFAULT_PITCH);
    EXPECT_STREQ(logical.lfFaceName, "\xce\xa2\xc8\xed\xd1\xc5\xba\xda");
    for (platform::Window control : controls) {
      platform::SetControlFont(control, font);
      EXPECT_EQ(SendMessageA(H(control), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font))
          << ClassOf(control);
    }
    for (platform::Window control : controls) platform::SetControlFont(control, nullptr);
    platform::DestroyFont(font);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(font)), 0u) << "deleted";
  }
}

TEST_F(WindowTest, WithoutAFaceTheFontIsTheStockGuiFontAndIsNeverDeleted) {
  const platform::Font font = platform::MakeFont({nullptr, 16, 400, false, false, false});
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(font), GetStockObject(DEFAULT_GUI_FONT));
  platform::DestroyFont(font);
  LOGFONTA logical{};
  EXPECT_NE(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof logical, &logical), 0);
}

std::vector<platform::Window> StackingOrder(platform::Window parent) {
  std::vector<platform::Window> order;
  for (HWND child = GetWindow(H(parent), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    order.push_back(W(child));
  }
  return order;
}

TEST_F(WindowTest, PlaceBelowRestacksControlsInTheGivenOrder) {
  // Made in reverse, the way the logic builds them, then restacked in stored order.
  const platform::Window c = Make(Control(platform::ControlClass::Edit, 3));
  const platform::Window b = Make(Control(platform::ControlClass::PushButton, 2));
  const platform::Window a = Make(Control(platform::ControlClass::RadioButton, 1));
  ASSERT_TRUE(platform::PlaceBelow(c, nullptr));
  ASSERT_TRUE(platform::PlaceBelow(a, nullptr));
  ASSERT_TRUE(platform::PlaceBelow(b, a));
  ASSERT_TRUE(platform::PlaceBelow(c, b));
  EXPECT_EQ(StackingOrder(top_), (std::vector<platform::Window>{a, b, c}));
  ASSERT_TRUE(platform::PlaceBelow(a, c));
  EXPECT_EQ(StackingOrder(top_), (std::vector<platform::Window>{b, c, a}));
  EXPECT_FALSE(platform::PlaceBelow(nullptr, a));
}

TEST_F(WindowTest, ChildrenShowAndHideWithoutActivation) {
  const platform::Window edit = Make(Control(platform::ControlClass::Edit, 2));
  EXPECT_FALSE(Style(edit) & WS_VISIBLE);
  platform::ShowChild(edit, true);
  EXPECT_TRUE(Style(edit) & WS_VISIBLE);
  EXPECT_FALSE(platform::WindowVisible(edit)) << "its window is still hidden";
  EXPECT_NE(GetActiveWindow(), H(top_));
  platform::ShowChild(edit, false);
  EXPECT_FALSE(Style(edit) & WS_VISIBLE);
  EXPECT_TRUE(platform::WindowEnabled(edit));
  EXPECT_TRUE(platform::WindowExists(edit));
}

TEST_F(WindowTest, WindowTextIsReadInBytesAndCutAtTheCapacity) {
  const platform::Window edit = Make(Control(platform::ControlClass::Edit, 2));
  const char text[] = "a\xb0\xd9\xb6\xc8z";  // "a百度z"
  ASSERT_TRUE(platform::SetWindowTextTo(edit, text));
  EXPECT_GE(platform::WindowTextLength(edit), 6u);
  char out[16];
  EXPECT_EQ(platform::ReadWindowText(edit, out, sizeof out), 6u);
  EXPECT_STREQ(out, text);
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(platform::ReadWindowText(edit, out, 2), 1u);
  EXPECT_STREQ(out, "a");
  EXPECT_EQ(out[2], '#');
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(platform::ReadWindowText(edit, out, 1), 0u);
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(platform::ReadWindowText(edit, out, 0), 0u);
  EXPECT_EQ(out[1], '#') << "nothing written without capacity";
  EXPECT_EQ(platform::ReadWindowText(nullptr, out, sizeof out), 0u);
  EXPECT_EQ(out[0], '\0');
}

TEST_F(WindowTest, EditSelectionIsSet) {
  platform::ControlSpec params = Control(platform::ControlClass::Edit, 2);
  params.text = "0123456789";
  const platform::Window edit = Make(params);
  platform::SetEditSelection(edit, 2, 3);
  DWORD start = 0, end = 0;
  SendMessageA(H(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 5u);
  platform::SetEditSelection(edit, 4, 0xFFFFFFFFu);  // past the end: up to the end
  SendMessageA(H(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end, 10u);
}

// The brush and text colour the top-level window gives a control when it paints.
struct Painted {
  COLORREF back;
  COLORREF text;
  HBRUSH brush;
};

Painted PaintColors(platform::Window top, platform::Window control, UINT message) {
  HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
      H(top), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(H(control))));
  LOGBRUSH logical{};
  GetObjectA(brush, sizeof logical, &logical);
  Painted painted{logical.lbColor, GetTextColor(dc), brush};
  DeleteDC(dc);
  return painted;
}

TEST_F(WindowTest, ControlsArePaintedInTheirOwnColours) {
  platform::ControlSpec editSpec = Control(platform::ControlClass::Edit, 2);
  editSpec.textColor = 0x000080;
  editSpec.backColor = 0xFFFFFF;
  const platform::Window edit = Make(editSpec);
  platform::ControlSpec radioSpec = Control(platform::ControlClass::RadioButton, 3);
  radioSpec.textColor = 0x123456;
  const platform::Window radio = Make(radioSpec);

  const Painted e = PaintColors(top_, edit, WM_CTLCOLOREDIT);
  EXPECT_EQ(e.back, RGB(255, 255, 255));
  EXPECT_EQ(e.text, RGB(0x80, 0, 0));
  // Whichever message the control sends (a read-only field sends the static one).
  EXPECT_EQ(PaintColors(top_, edit, WM_CTLCOLORSTATIC).brush, e.brush);
  const Painted r = PaintColors(top_, radio, WM_CTLCOLORBTN);
  EXPECT_EQ(r.brush, GetSysColorBrush(COLOR_BTNFACE)) << "button face: the system's own brush";
  EXPECT_EQ(r.text, RGB(0x56, 0x34, 0x12));

  // A brush of its own goes with its control, and with its window.
  platform::DestroyNativeWindow(edit);
  EXPECT_EQ(GetObjectType(e.brush), 0u);
  const platform::Window other = Make(editSpec);
  const HBRUSH otherBrush = PaintColors(top_, other, WM_CTLCOLOREDIT).brush;
  ASSERT_NE(GetObjectType(otherBrush), 0u);
  platform::DestroyNativeWindow(top_);
  EXPECT_EQ(GetObjectType(otherBrush), 0u);
  EXPECT_NE(GetObjectType(GetSysColorBrush(COLOR_BTNFACE)), 0u);
}

COLORREF ErasedColor(platform::Window window) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 200);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  EXPECT_NE(SendMessageA(H(window), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
  const COLORREF color = GetPixel(dc, 5, 5);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return color;
}

TEST_F(WindowTest, TheBackgroundIsErasedInTheWindowsColour) {
  EXPECT_EQ(ErasedColor(top_), GetSysColor(COLOR_BTNFACE));
  platform::TopLevelSpec params = MainLikeSpec(tool_);
  params.backColor = 0x00FF8040;
  const platform::Window blue = platform::CreateTopLevel(params);
  ASSERT_NE(blue, nullptr);
  EXPECT_EQ(ErasedColor(blue), RGB(0x40, 0x80, 0xFF));
  platform::DestroyNativeWindow(blue);
}

TEST_F(WindowTest, CloseRequestsAndDestructionAreReported) {
  const platform::Window edit = Make(Control(platform::ControlClass::Edit, 2));
  platform::RequestClose(top_);
  EXPECT_EQ(events, (std::vector<Event>{{"close", top_, nullptr}}));
  EXPECT_TRUE(platform::WindowExists(top_)) << "the logic decides; the backend destroys nothing";
  events.clear();
  platform::DestroyNativeWindow(top_);
  EXPECT_EQ(events, (std::vector<Event>{{"destroyed", top_, nullptr}}));
  EXPECT_FALSE(platform::WindowExists(top_));
  EXPECT_FALSE(platform::WindowExists(edit));
}

TEST_F(WindowTest, ButtonClicksAreReportedWithTheButton) {
  const platform::Window button = Make(Control(platform::ControlClass::PushButton, 3));
  const platform::Window radio = Make(Control(platform::ControlClass::RadioButton, 4));
  const platform::Window edit = Make(Control(platform::ControlClass::Edit, 5));
  SendMessageA(H(button), BM_CLICK, 0, 0);
  SendMessageA(H(radio), BM_CLICK, 0, 0);
  SetWindowTextA(H(edit), "typing is no click");
  // A click also focuses the button, which activates its window: only the clicks matter here.
  std::vector<Event> clicks;
  for (const Event& e : events) {
    if (e.what == "click") clicks.push_back(e);
  }
  EXPECT_EQ(clicks, (std::vector<Event>{{"click", button, nullptr}, {"click", radio, nullptr}}));
}

TEST_F(WindowTest, TheLinkReportsItsOwnLeftClick) {
  platform::ControlSpec params = Control(platform::ControlClass::HyperLinker, 0x1601001f);
  const platform::Window link = Make(params);
  platform::ShowChild(link, true);
  platform::ShowTopLevel(top_);
  DrainQueue();
  events.clear();
  SendMessageA(H(link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(H(link), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  EXPECT_EQ(events, (std::vector<Event>{{"click", link, nullptr}}));
  events.clear();
  // Pressed on it, released off it; and a release without a press.
  SendMessageA(H(link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(H(link), WM_LBUTTONUP, 0, MAKELPARAM(200, 3));
  SendMessageA(H(link), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(events.empty());
  // It paints without help: its window text in its parent's colours.
  ASSERT_TRUE(platform::SetWindowTextTo(link, "http://h/?q=\xb0\xd9"));
  platform::RequestRepaint(link);
  EXPECT_TRUE(UpdateWindow(H(link)));
}

TEST_F(WindowTest, ActivationGivesTheWindowFocusAndDeactivationTellsWhereFocusWas) {
  const platform::Window edit = Make(Control(platform::ControlClass::Edit, 2));
  platform::ShowChild(edit, true);
  platform::ShowTopLevel(top_);
  DrainQueue();
  ASSERT_EQ(GetActiveWindow(), H(top_));
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), (Event{"focused", top_, nullptr}));

  platform::SetFocusTo(edit);
  EXPECT_EQ(platform::FocusedWindow(), edit);
  events.clear();
  platform::TopLevelSpec params = MainLikeSpec(tool_);
  params.outer.top = 10;
  const platform::Window other = platform::CreateTopLevel(params);
  ASSERT_NE(other, nullptr);
  platform::ShowTopLevel(other);
  DrainQueue();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), (Event{"deactivated", top_, edit}));
  EXPECT_EQ(events.back(), (Event{"focused", other, nullptr}));
  platform::DestroyNativeWindow(other);
}

TEST_F(WindowTest, OneClickChecksARadioButtonAndUnchecksTheOthersAcrossOtherControls) {
  // No control has WS_GROUP: the radio buttons form one group, the edit field between them
  // in the stacking order does not split it.
  const platform::Window third = Make(Control(platform::ControlClass::RadioButton, 3));
  const platform::Window edit = Make(Control(platform::ControlClass::Edit, 9));
  const platform::Window second = Make(Control(platform::ControlClass::RadioButton, 2));
  const platform::Window first = Make(Control(platform::ControlClass::RadioButton, 1));
  for (platform::Window w : {third, edit, second, first}) platform::ShowChild(w, true);
  platform::ShowTopLevel(top_);
  DrainQueue();
  platform::SetCheck(first, true);
  EXPECT_EQ(platform::GetCheck(first), platform::CheckState::Checked);
  SendMessageA(H(third), BM_CLICK, 0, 0);
  EXPECT_EQ(platform::GetCheck(third), platform::CheckState::Checked);
  EXPECT_EQ(platform::GetCheck(first), platform::CheckState::Unchecked);
  EXPECT_EQ(platform::GetCheck(second), platform::CheckState::Unchecked);
  // A write of the check changes that button alone.
  platform::SetCheck(second, true);
  EXPECT_EQ(platform::GetCheck(third), platform::CheckState::Checked);
  platform::SetCheck(second, false);
  EXPECT_EQ(platform::GetCheck(second), platform::CheckState::Unchecked);
}

TEST_F(WindowTest, TheProgramIconIsTheFilesOwn48PixelImage) {
  ASSERT_TRUE(platform::SetProgramIcon(top_));
  const auto big = reinterpret_cast<HICON>(SendMessageA(H(top_), WM_GETICON, ICON_BIG, 0));
  const auto small = reinterpret_cast<HICON>(SendMessageA(H(top_), WM_GETICON, ICON_SMALL, 0));
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(small, big) << "one image for both";
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(big, &info));
  BITMAP color{};
  ASSERT_NE(GetObjectA(info.hbmColor, sizeof color, &color), 0);
  EXPECT_EQ(color.bmWidth, 48);
  EXPECT_EQ(color.bmHeight, 48);
  EXPECT_EQ(color.bmBitsPixel, 32);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  EXPECT_FALSE(platform::SetProgramIcon(nullptr));
}

TEST_F(WindowTest, OuterRectsAreSetWithoutRestackingOrActivating) {
  const platform::Window other = platform::CreateTopLevel(MainLikeSpec(tool_));
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(platform::SetOuterRect(top_, {100, 120, 300, 90}));
  platform::Rect rect{};
  ASSERT_TRUE(platform::GetOuterRect(top_, &rect));
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 120);
  EXPECT_EQ(rect.width, 300);
  EXPECT_EQ(rect.height, 90);
  EXPECT_NE(GetActiveWindow(), H(top_));
  EXPECT_FALSE(platform::GetOuterRect(nullptr, &rect));
  platform::DestroyNativeWindow(other);
  const platform::ScreenSize screen = platform::PrimaryScreenSize();
  EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(screen.height, 0);
}

// ---- The message queue ----

class QueueTest : public WindowTest {};

TEST_F(QueueTest, KeyMessagesAreTakenWithTheirKeyAndFlags) {
  DrainQueue();
  EXPECT_FALSE(platform::MessageWaiting());
  struct Case {
    UINT message;
    WPARAM key;
    LPARAM flags;
    platform::MessageKind kind;
  };
  const Case cases[] = {
      {WM_KEYDOWN, VK_RETURN, 0x001C0001, platform::MessageKind::KeyDown},
      {WM_SYSKEYDOWN, VK_F4, 0x203E0001, platform::MessageKind::SysKeyDown},
      {WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u), platform::MessageKind::Other},
      {WM_USER + 7, 42, 43, platform::MessageKind::Other},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(PostMessageA(H(top_), c.message, c.key, c.flags));
    EXPECT_TRUE(platform::MessageWaiting());
    EXPECT_FALSE(platform::RunIdleStep());
    platform::Message message{};
    int code = -5;
    ASSERT_EQ(platform::TakeMessage(&message, &code), platform::TakeResult::Message);
    EXPECT_EQ(message.target, top_);
    EXPECT_EQ(message.kind, c.kind) << c.message;
    EXPECT_EQ(message.key, c.key);
    EXPECT_EQ(message.keyFlags, static_cast<std::uint32_t>(c.flags));
    EXPECT_EQ(code, -5) << "untouched for a message";
  }
  EXPECT_FALSE(platform::MessageWaiting());
}

TEST_F(QueueTest, ADispatchedMessageReachesItsWindow) {
  DrainQueue();
  ASSERT_TRUE(PostMessageA(H(top_), WM_CLOSE, 0, 0));
  platform::Message message{};
  int code = 0;
  ASSERT_EQ(platform::TakeMessage(&message, &code), platform::TakeResult::Message);
  EXPECT_TRUE(events.empty()) << "taking is not dispatching";
  platform::TranslateAndDispatch(message);
  EXPECT_EQ(events, (std::vector<Event>{{"close", top_, nullptr}}));
}

TEST_F(QueueTest, TheQuitRequestCarriesItsCode) {
  DrainQueue();
  for (int code : {0, 7, -1}) {
    platform::PostQuitRequest(code);
    platform::WaitForMessage();  // returns at once: the request is waiting
    platform::Message message{};
    int taken = 12345;
    ASSERT_EQ(platform::TakeMessage(&message, &taken), platform::TakeResult::Quit);
    EXPECT_EQ(taken, code);
  }
}

TEST(KeyboardTest, HeldModifiersAreReadFromTheKeyState) {
  BYTE saved[256];
  ASSERT_TRUE(GetKeyboardState(saved));
  struct Case {
    bool ctrl, shift, alt;
    std::uint32_t mask;
  };
  for (const Case& c : {Case{false, false, false, 0}, Case{true, false, false, 1},
                        Case{false, true, false, 2}, Case{false, false, true, 4},
                        Case{true, true, true, 7}}) {
    BYTE state[256] = {};
    state[VK_CONTROL] = c.ctrl ? 0x80 : 0;
    state[VK_SHIFT] = c.shift ? 0x80 : 0;
    state[VK_MENU] = c.alt ? 0x80 : 0;
    state[VK_CAPITAL] = 0x01;  // toggled, not held: never a modifier
    ASSERT_TRUE(SetKeyboardState(state));
    EXPECT_EQ(platform::HeldKeyModifiers(), c.mask);
  }
  SetKeyboardState(saved);
}

}  // namespace
