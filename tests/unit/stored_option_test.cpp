#include "app/stored_option.h"

#include <gtest/gtest.h>

TEST(StoredOption, TheThreeCheckBoxValuesReadBack) {
  for (short value : {0, 1, 2}) EXPECT_EQ(OptionValueFromStoredText(StoredTextOfOptionValue(value)), value);
  EXPECT_EQ(StoredTextOfOptionValue(1), L"1");
  EXPECT_EQ(StoredTextOfOptionValue(0), L"0");
}

TEST(StoredOption, AnythingElseIsTheDefault) {
  for (const wchar_t* damaged : {L"", L"abc", L"7", L"-1", L"99999999999", L"1.5", L"0x1", L"１"}) {
    EXPECT_EQ(OptionValueFromStoredText(damaged), 1) << "stored: " << testing::PrintToString(std::wstring(damaged));
  }
}

TEST(StoredOption, BlanksAroundANumberDoNoHarm) { EXPECT_EQ(OptionValueFromStoredText(L" 0 "), 0); }
