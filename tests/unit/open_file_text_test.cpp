#include "runtime/rules/open_file_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/texts.h"

using namespace std::string_literals;

TEST(DialogFilter, EndsEachPartWithANulAndAllWithAnother) {
  EXPECT_EQ(DialogFilter(L"Videos|*.avi;*.mp4|All files|*.*"), L"Videos\0*.avi;*.mp4\0All files\0*.*\0\0"s);
}

// The form's filter as the dialog takes it: its two pairs, the first with its 90 patterns (four
// extensions stand twice), the last of all files.
TEST(DialogFilter, TheProgramsFilterHasItsTwoPairsAndNinetyPatterns) {
  const std::wstring filter = DialogFilter(texts::kDialogFilter);
  std::vector<std::wstring> parts;
  for (size_t start = 0; start < filter.size() - 1; start = filter.find(L'\0', start) + 1) {
    parts.push_back(filter.substr(start, filter.find(L'\0', start) - start));
  }
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[0], L"All Video/Audio Files");
  EXPECT_EQ(parts[2], L"All files");
  EXPECT_EQ(parts[3], L"*.*");
  std::vector<std::wstring> patterns;
  for (size_t start = 0; start <= parts[1].size(); start = parts[1].find(L';', start) + 1) {
    patterns.push_back(parts[1].substr(start, parts[1].find(L';', start) - start));
    if (parts[1].find(L';', start) == std::wstring::npos) break;
  }
  EXPECT_EQ(patterns.size(), 90u);
  for (const std::wstring& pattern : patterns) EXPECT_EQ(pattern.substr(0, 2), L"*.") << testing::PrintToString(pattern);
  std::sort(patterns.begin(), patterns.end());
  EXPECT_EQ(std::unique(patterns.begin(), patterns.end()) - patterns.begin(), 86);
}

TEST(ChosenFiles, AreFullPathsOfOneOrSeveral) {
  using Files = std::vector<std::wstring>;
  EXPECT_EQ(ChosenFiles(L"C:\\Videos\\clip.avi\0\0"s), Files{L"C:\\Videos\\clip.avi"});
  EXPECT_EQ(ChosenFiles(L"C:\\Videos\\clip.avi"), Files{L"C:\\Videos\\clip.avi"});
  EXPECT_EQ(ChosenFiles(L"C:\\Videos\0b.avi\0a.avi\0\0"s), (Files{L"C:\\Videos\\b.avi", L"C:\\Videos\\a.avi"}));
  EXPECT_EQ(ChosenFiles(L"C:\\\0b.avi\0a.avi\0\0"s), (Files{L"C:\\b.avi", L"C:\\a.avi"}));
  EXPECT_EQ(ChosenFiles(L"\0\0"s), Files{});
}
