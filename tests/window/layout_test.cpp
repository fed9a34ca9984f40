#include <gtest/gtest.h>

#include "app/form_definition.h"
#include "app/texts.h"
#include "runtime/twips.h"
#include "tests/window/window_driver.h"

namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

RECT PlaceInParent(HWND window) {
  RECT place;
  GetWindowRect(window, &place);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

int Dpi(int index) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, index);
  ReleaseDC(nullptr, screen);
  return dpi;
}

bool IsBelow(HWND lower, HWND upper) {
  for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
    if (next == lower) return true;
  }
  return false;
}

}  // namespace

class LayoutTest : public WindowTest {};

TEST_F(LayoutTest, EveryControlHasItsKindPlaceAndFont) {
  Load();
  const int dpiX = Dpi(LOGPIXELSX);
  const int dpiY = Dpi(LOGPIXELSY);
  for (int i = 0; i < kQuilletForm.controlCount; ++i) {
    const ControlDefinition& control = kQuilletForm.controls[i];
    SCOPED_TRACE(testing::PrintToString(std::wstring(control.name)));
    HWND parent = control.parentId ? GetDlgItem(form->hWnd(), control.parentId) : form->hWnd();
    HWND window = GetDlgItem(parent, control.id);
    ASSERT_NE(window, nullptr);

    const RECT place = PlaceInParent(window);
    EXPECT_EQ(place.left, TwipsToPixels(control.left, dpiX));
    EXPECT_EQ(place.top, TwipsToPixels(control.top, dpiY));
    EXPECT_EQ(place.right - place.left, TwipsToPixels(control.width, dpiX));
    EXPECT_EQ(place.bottom - place.top, TwipsToPixels(control.height, dpiY));

    const LOGFONTW font = FontOf(window);
    EXPECT_EQ(font.lfHeight, -FontPixelHeight(dpiY));
    const bool bold = control.font == FontStyle::Bold || control.font == FontStyle::BoldUnderlined;
    const bool underlined = control.font == FontStyle::Underlined || control.font == FontStyle::BoldUnderlined;
    EXPECT_EQ(font.lfWeight, bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(font.lfUnderline != 0, underlined);
    EXPECT_FALSE(font.lfItalic);
    EXPECT_EQ(std::wstring(font.lfFaceName), FormFonts::FaceName());

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_EQ((exStyle & WS_EX_ACCEPTFILES) != 0, control.acceptsDrops);
    switch (control.kind) {
      case ControlKind::TextBox:
        EXPECT_EQ(ClassOf(window), L"Edit");
        break;
      case ControlKind::CommandButton:
        EXPECT_EQ(ClassOf(window), L"Button");
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
        break;
      case ControlKind::CheckBox:
        EXPECT_EQ(ClassOf(window), L"Button");
        EXPECT_EQ(style & BS_TYPEMASK, BS_3STATE);
        break;
      case ControlKind::Frame:
        EXPECT_EQ(ClassOf(window), L"Button");
        EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX);
        break;
      case ControlKind::Label:
        EXPECT_EQ(ClassOf(window), L"Static");
        break;
    }
  }
}

TEST_F(LayoutTest, TheTextsAreTheProgramsOwn) {
  Load();
  EXPECT_EQ(form->Command1.Caption(), L"Add Video");
  EXPECT_EQ(form->Command2.Caption(), L"Convert to MP3");
  EXPECT_EQ(form->Check1.Caption(), L"Open folder containing MP3 when video finishes converting");
  EXPECT_EQ(form->Frame1.Caption(), L"Video Name");
  EXPECT_EQ(form->Text1.Text(), L"Please drag and drop a video here");
  EXPECT_EQ(form->Label2.Caption(), L"To get started:");
  EXPECT_EQ(form->Label3.Caption(),
            L"1. Add a video by either clicking 'Add Videos' or by dragging and dropping it in to this program");
  EXPECT_EQ(
      form->Label4.Caption(),
      L"2. Click 'Convert to MP3' to convert the videos to MP3. The MP3 will be in the same folder as your video");
  EXPECT_EQ(form->Label1.Caption(), L"");
  EXPECT_EQ(form->Status.Caption(), std::wstring(L"This App is Designed by ") + texts::kPublisherDomain);
}

TEST_F(LayoutTest, TheWindowIsFixedCentredAndSizedFromTwips) {
  Load();
  wchar_t caption[64] = {};
  GetWindowTextW(form->hWnd(), caption, 64);
  EXPECT_EQ(std::wstring(caption), L"Quillet");
  wchar_t className[64] = {};
  GetClassNameW(form->hWnd(), className, 64);
  EXPECT_EQ(std::wstring(className), L"QuilletGUI");

  RECT client;
  GetClientRect(form->hWnd(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(7890, Dpi(LOGPIXELSX)));
  EXPECT_EQ(client.bottom, TwipsToPixels(2970, Dpi(LOGPIXELSY)));
  // The status line ends on the client area's bottom edge.
  EXPECT_EQ(PlaceInParent(form->Status.hWnd()).bottom, client.bottom);

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
