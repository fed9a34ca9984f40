#include <windows.h>

#include <gtest/gtest.h>

#include "winutil/topmost.h"
#include "winutil/tovrandel_seticon.h"

namespace {

HWND MakeWindow(HWND owner = nullptr) {
  return CreateWindowExW(0, L"STATIC", L"test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, owner, nullptr, nullptr, nullptr);
}

HICON IconOf(HWND window, WPARAM size) { return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, size, 0)); }

int IconWidth(HICON icon) {
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap = {};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

bool IsTopmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace

TEST(SetIcon, GivesTheWindowTheBigAndSmallIconsOfTheGroupAtSystemSizes) {
  HWND window = MakeWindow();
  SetIcon(window, L"ABC", false);
  ASSERT_NE(IconOf(window, ICON_BIG), nullptr);
  ASSERT_NE(IconOf(window, ICON_SMALL), nullptr);
  EXPECT_EQ(IconWidth(IconOf(window, ICON_BIG)), GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(IconWidth(IconOf(window, ICON_SMALL)), GetSystemMetrics(SM_CXSMICON));
  DestroyWindow(window);
}

TEST(SetIcon, WithTheOwnerGivesTheTopLevelOwnerTheIconsAndSkipsWindowsBetween) {
  HWND top = MakeWindow();
  HWND middle = MakeWindow(top);
  HWND window = MakeWindow(middle);
  SetIcon(window, L"ABC", true);
  EXPECT_NE(IconOf(window, ICON_BIG), nullptr);
  EXPECT_NE(IconOf(top, ICON_BIG), nullptr);
  EXPECT_NE(IconOf(top, ICON_SMALL), nullptr);
  EXPECT_EQ(IconOf(middle, ICON_BIG), nullptr);
  EXPECT_EQ(IconOf(middle, ICON_SMALL), nullptr);
  DestroyWindow(window);
  DestroyWindow(middle);
  DestroyWindow(top);
}

TEST(SetIcon, WithTheOwnerOnAWindowWithoutOwnerEndsAsWithout) {
  HWND a = MakeWindow();
  HWND b = MakeWindow();
  SetIcon(a, L"ABC", true);
  SetIcon(b, L"ABC", false);
  EXPECT_EQ(IconOf(a, ICON_BIG), IconOf(b, ICON_BIG));
  EXPECT_EQ(IconOf(a, ICON_SMALL), IconOf(b, ICON_SMALL));
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(SetIcon, AnUnknownGroupLeavesTheWindowWithoutIconsOfItsOwn) {
  HWND window = MakeWindow();
  SetIcon(window, L"ABC", false);
  SetIcon(window, L"NO_SUCH_ICON", false);
  EXPECT_EQ(IconOf(window, ICON_BIG), nullptr);
  EXPECT_EQ(IconOf(window, ICON_SMALL), nullptr);
  DestroyWindow(window);
}

TEST(SetTopMostWindow, TrueMovesTheWindowIntoTheTopmostBand) {
  HWND window = MakeWindow();
  EXPECT_NE(SetTopMostWindow(window, kTrue), 0);
  EXPECT_TRUE(IsTopmost(window));
  DestroyWindow(window);
}

TEST(SetTopMostWindow, AnythingElseTakesItOutAndGivesZero) {
  HWND window = MakeWindow();
  SetTopMostWindow(window, kTrue);
  EXPECT_EQ(SetTopMostWindow(window, kFalse), 0);
  EXPECT_FALSE(IsTopmost(window));
  SetTopMostWindow(window, kTrue);
  // Only the runtime's True (-1) means topmost.
  EXPECT_EQ(SetTopMostWindow(window, 1), 0);
  EXPECT_FALSE(IsTopmost(window));
  DestroyWindow(window);
}

TEST(SetTopMostWindow, AnInvalidWindowGivesZero) {
  HWND gone = MakeWindow();
  DestroyWindow(gone);
  EXPECT_EQ(SetTopMostWindow(gone, kTrue), 0);
}
