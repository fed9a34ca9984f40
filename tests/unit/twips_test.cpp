#include "runtime/twips.h"

#include <gtest/gtest.h>

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
