#include "app/stored_option.h"

#include <gtest/gtest.h>

TEST(StoredOption, TheThreeCheckBoxValuesAreReadAsThey) {
  EXPECT_EQ(OptionValueFromStoredText(L"0"), 0);
  EXPECT_EQ(OptionValueFromStoredText(L"1"), 1);
  EXPECT_EQ(OptionValueFromStoredText(L"2"), 2);
}

TEST(StoredOption, AnythingElseIsTheDefault) {
  for (const wchar_t* damaged : {L"", L"abc", L"7", L"-1", L"99999999999", L"1.5", L"0x1", L"１"}) {
    EXPECT_EQ(OptionValueFromStoredText(damaged), 1) << "stored: " << testing::PrintToString(std::wstring(damaged));
  }
}

TEST(StoredOption, BlanksAroundANumberDoNoHarm) { EXPECT_EQ(OptionValueFromStoredText(L" 0 "), 0); }
