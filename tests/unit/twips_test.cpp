#include "runtime/rules/twips.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/rules/font_face.h"

TEST(TwipsToPixels, FifteenTwipsArePixelAtNinetySixDpi) {
  EXPECT_EQ(TwipsToPixels(7890, 96), 526);
  EXPECT_EQ(TwipsToPixels(2970, 96), 198);
  EXPECT_EQ(TwipsToPixels(130, 96), 9);  // 8.67 rounds up
  EXPECT_EQ(TwipsToPixels(2715 + 255, 96), TwipsToPixels(2970, 96));
}

TEST(TwipsToPixels, ScalesWithTheScreen) {
  EXPECT_EQ(TwipsToPixels(1440, 120), 120);
  EXPECT_EQ(TwipsToPixels(7890, 144), 789);
}

TEST(FontPixelHeight, IsEightAndAQuarterPoints) {
  EXPECT_EQ(FontPixelHeight(96), 11);
  EXPECT_EQ(FontPixelHeight(120), 14);
}

// "MS Sans Serif" where it draws cleanly; its TrueType twin, or Tahoma, where it does not.
TEST(FormFaceFor, ChoosesAFaceThatDrawsTheFormCleanlyAtTheDpi) {
  using K = FaceKind;
  struct Case {
    int dpi;
    FaceKind msSansSerif, microsoftSansSerif, tahoma;
    std::wstring face;
  };
  const std::vector<Case> cases = {
      {96, K::Bitmap, K::Scalable, K::Scalable, L"MS Sans Serif"},
      {120, K::Bitmap, K::Scalable, K::Scalable, L"MS Sans Serif"},
      {144, K::Bitmap, K::Scalable, K::Scalable, L"Microsoft Sans Serif"},
      {144, K::Scalable, K::Missing, K::Scalable, L"MS Sans Serif"},
      {96, K::Missing, K::Scalable, K::Scalable, L"Microsoft Sans Serif"},
      {192, K::Bitmap, K::Missing, K::Scalable, L"Tahoma"},
      {96, K::Missing, K::Missing, K::Missing, L"MS Shell Dlg"},
  };
  for (const Case& c : cases) {
    const auto kindOf = [&c](const wchar_t* face) {
      const std::wstring name = face;
      return name == L"MS Sans Serif"          ? c.msSansSerif
             : name == L"Microsoft Sans Serif" ? c.microsoftSansSerif
             : name == L"Tahoma"               ? c.tahoma
                                               : FaceKind::Missing;
    };
    EXPECT_EQ(FormFaceFor(c.dpi, kindOf), c.face) << c.dpi << " dpi, case face " << testing::PrintToString(c.face);
  }
}
