#include <gtest/gtest.h>

#include "app/form_definition.h"
#include "runtime/rules/twips.h"
#include "tests/window/window_driver.h"

namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

RECT PlaceInParent(HWND window) {
  RECT place;
  GetWindowRect(window, &place);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

bool IsBelow(HWND lower, HWND upper) {
  for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
    if (next == lower) return true;
  }
  return false;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int IconWidth(LRESULT icon) {
  ICONINFO info = {};
  if (!GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0;
  BITMAP bitmap = {};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

// Whether the font draws its outlines at any size, rather than bitmaps made for some sizes.
bool IsScalable(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return (metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) != 0;
}

// The window each kind of control is made as.
struct WindowKind {
  const wchar_t* windowClass;
  LONG buttonType;  // for buttons: push button, three-state check box or group box
};
WindowKind WindowKindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
      return {L"Edit", 0};
    case ControlKind::CommandButton:
      return {L"Button", BS_PUSHBUTTON};
    case ControlKind::CheckBox:
      return {L"Button", BS_3STATE};
    case ControlKind::Frame:
      return {L"Button", BS_GROUPBOX};
    case ControlKind::Label:
      break;
  }
  return {L"Static", 0};
}

bool IsBold(FontStyle style) { return style == FontStyle::Bold || style == FontStyle::BoldUnderlined; }
bool IsUnderlined(FontStyle style) { return style == FontStyle::Underlined || style == FontStyle::BoldUnderlined; }

}  // namespace

class LayoutTest : public ConversionTest {
 protected:
  // Every control in its place at the dpi, in the form's font: 8.25 point (`fontHeight` pixels), in
  // "MS Sans Serif" where its bitmaps suit the dpi, else in a face that scales; and with its text where
  // nothing has changed it yet.
  void ExpectLaidOutAt(int dpi, LONG fontHeight, bool asMade) {
    RECT client;
    GetClientRect(form->hWnd(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(kQuilletForm.clientWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(kQuilletForm.clientHeight, dpi));
    for (const ControlDefinition* control = kQuilletForm.controls;
         control != kQuilletForm.controls + kQuilletForm.controlCount; ++control) {
      HWND parent = control->parentId ? GetDlgItem(form->hWnd(), control->parentId) : form->hWnd();
      HWND window = GetDlgItem(parent, control->id);
      ASSERT_NE(window, nullptr);
      SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(control->name)) << " at " << dpi << " dpi");
      const RECT place = PlaceInParent(window);
      EXPECT_EQ(place.left, TwipsToPixels(control->left, dpi));
      EXPECT_EQ(place.top, TwipsToPixels(control->top, dpi));
      EXPECT_EQ(place.right, TwipsToPixels(control->left + control->width, dpi));
      EXPECT_EQ(place.bottom, TwipsToPixels(control->top + control->height, dpi));

      const HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
      LOGFONTW logical = {};
      GetObjectW(font, sizeof logical, &logical);
      EXPECT_EQ(logical.lfHeight, fontHeight);
      EXPECT_EQ(logical.lfWeight, IsBold(control->font) ? FW_BOLD : FW_NORMAL);
      EXPECT_EQ(logical.lfUnderline != 0, IsUnderlined(control->font));
      EXPECT_FALSE(logical.lfItalic);
      EXPECT_TRUE(std::wstring(logical.lfFaceName) == L"MS Sans Serif" ? dpi <= 120 : IsScalable(font))
          << testing::PrintToString(std::wstring(logical.lfFaceName));

      const WindowKind kind = WindowKindOf(control->kind);
      EXPECT_EQ(ClassOf(window), kind.windowClass);
      if (kind.buttonType) {
        EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK, kind.buttonType);
      }
      EXPECT_EQ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0, control->acceptsDrops);
      if (asMade) {
        EXPECT_EQ(Control(window).Text(), control->text);
      }
    }
    // The status line ends on the client area's bottom edge.
    EXPECT_EQ(PlaceInParent(form->Status.hWnd()).bottom, client.bottom);
  }
};

TEST_F(LayoutTest, EveryControlHasItsKindPlaceAndFontAtTheScreensDpi) {
  Load();
  ASSERT_EQ(ScreenDpi(), 96);
  ExpectLaidOutAt(96, -11, true);
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->Label3.hWnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"MS Sans Serif");
}

// Moved to a monitor at 150 % and back, as Windows tells a per-monitor aware window: every control
// and font at the new dpi, the window where Windows suggests.
TEST_F(LayoutTest, AMoveToAMonitorOfAnotherDpiLaysTheWindowOutAgain) {
  StartConversion();
  ConverterEnds(1, false, L"a reason too long for the status line to show, which its tip shows whole");
  UntilTheEnd();
  for (const auto& [dpi, fontHeight] : {std::pair{144, -17L}, std::pair{96, -11L}}) {
    RECT place;
    GetWindowRect(form->hWnd(), &place);
    RECT suggested = {0, 0, TwipsToPixels(kQuilletForm.clientWidth, dpi), TwipsToPixels(kQuilletForm.clientHeight, dpi)};
    AdjustWindowRectEx(&suggested, GetWindowLongW(form->hWnd(), GWL_STYLE), FALSE,
                       GetWindowLongW(form->hWnd(), GWL_EXSTYLE));
    OffsetRect(&suggested, place.left + 40 - suggested.left, place.top + 30 - suggested.top);
    SendMessageW(form->hWnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(form->hWnd(), &place);
    EXPECT_TRUE(EqualRect(&place, &suggested));
    ExpectLaidOutAt(dpi, fontHeight, false);
    // The icons and the status line's tip at the monitor's scale too.
    EXPECT_EQ(IconWidth(SendMessageW(form->hWnd(), WM_GETICON, ICON_BIG, 0)), MulDiv(32, dpi, 96));
    EXPECT_EQ(IconWidth(SendMessageW(form->hWnd(), WM_GETICON, ICON_SMALL, 0)), MulDiv(16, dpi, 96));
    RECT status;
    GetWindowRect(form->Status.hWnd(), &status);
    EXPECT_EQ(SendMessageW(StatusTip(), TTM_GETMAXTIPWIDTH, 0, 0), status.right - status.left);
    LOGFONTW tipFont = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(StatusTip(), WM_GETFONT, 0, 0)), sizeof tipFont, &tipFont);
    EXPECT_EQ(tipFont.lfHeight, fontHeight);
  }
}

TEST_F(LayoutTest, TheWindowIsFixedAndCentred) {
  Load();
  wchar_t caption[64] = {};
  GetWindowTextW(form->hWnd(), caption, 64);
  EXPECT_EQ(std::wstring(caption), kQuilletForm.caption);
  wchar_t className[64] = {};
  GetClassNameW(form->hWnd(), className, 64);
  EXPECT_EQ(std::wstring(className), kQuilletForm.className);

  const LONG style = GetWindowLongW(form->hWnd(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_CAPTION);

  RECT outer;
  GetWindowRect(form->hWnd(), &outer);
  EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  EXPECT_TRUE(IsWindowVisible(form->hWnd()));
}

TEST_F(LayoutTest, TheEmptyLabelLiesBehindTheInstructionsAndTheFrame) {
  Load();
  for (const Control* above : {&form->Label2, &form->Label3, &form->Label4, &form->Frame1}) {
    EXPECT_TRUE(IsBelow(form->Label1.hWnd(), above->hWnd()));
  }
  EXPECT_EQ(GetParent(form->Text1.hWnd()), form->Frame1.hWnd());
}

TEST_F(LayoutTest, TabGoesFromButtonToButtonToTextBoxToCheckBox) {
  Load();
  HWND focus = GetNextDlgTabItem(form->hWnd(), nullptr, FALSE);
  EXPECT_EQ(focus, form->Command1.hWnd());
  std::vector<HWND> order;
  for (int i = 0; i < 4; ++i) {
    order.push_back(focus);
    focus = GetNextDlgTabItem(form->hWnd(), focus, FALSE);
  }
  EXPECT_EQ(order,
            (std::vector<HWND>{form->Command1.hWnd(), form->Command2.hWnd(), form->Text1.hWnd(), form->Check1.hWnd()}));
  EXPECT_EQ(focus, form->Command1.hWnd());
}

TEST_F(LayoutTest, TheStatusLineIsBlueAndTheTextBoxHasTheWindowsGrey) {
  Load();
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(form->hWnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(form->Status.hWnd()));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));

  SetBkColor(dc, RGB(255, 255, 255));
  const LRESULT brush = SendMessageW(form->Frame1.hWnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(form->Text1.hWnd()));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_BTNFACE));
  DeleteDC(dc);
}

TEST_F(LayoutTest, BeforeAnyConversionTheTimerIsOff) {
  Load();
  EXPECT_FALSE(form->Timer1.Enabled());
  EXPECT_EQ(form->Timer1.Interval(), 100u);
  EXPECT_TRUE(form->Command1.Enabled());
  EXPECT_TRUE(form->Command2.Enabled());
  EXPECT_TRUE(world.starts.empty());
}
