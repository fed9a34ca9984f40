#include "runtime/open_file_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/texts.h"

using namespace std::string_literals;

TEST(DialogFilter, EndsEachPartWithANulAndAllWithAnother) {
  EXPECT_EQ(DialogFilter(L"Videos|*.avi;*.mp4|All files|*.*"), L"Videos\0*.avi;*.mp4\0All files\0*.*\0\0"s);
}

TEST(DialogFilter, TheProgramsFilterHasTwoPairsAndNinetyPatterns) {
  const std::wstring filter = texts::kDialogFilter;
  EXPECT_EQ(filter.size(), 588u);
  const std::wstring forDialog = DialogFilter(filter);
  EXPECT_EQ(std::count(forDialog.begin(), forDialog.end(), L'\0'), 5);
  EXPECT_EQ(forDialog.substr(0, 22), L"All Video/Audio Files\0"s);
  EXPECT_EQ(std::count(filter.begin(), filter.end(), L';'), 89);
  EXPECT_EQ(forDialog.substr(forDialog.size() - 16), L"\0All files\0*.*\0\0"s);
}

TEST(FirstChosenFile, OneFileIsItsFullPath) {
  EXPECT_EQ(FirstChosenFile(L"C:\\Videos\\clip.avi\0\0"s), L"C:\\Videos\\clip.avi");
  EXPECT_EQ(FirstChosenFile(L"C:\\Videos\\clip.avi"), L"C:\\Videos\\clip.avi");
}

TEST(FirstChosenFile, SeveralFilesGiveTheFirstOnesFullPath) {
  EXPECT_EQ(FirstChosenFile(L"C:\\Videos\0b.avi\0a.avi\0\0"s), L"C:\\Videos\\b.avi");
  EXPECT_EQ(FirstChosenFile(L"C:\\\0b.avi\0a.avi\0\0"s), L"C:\\b.avi");
}

TEST(FirstChosenFile, NothingChosenIsEmpty) { EXPECT_EQ(FirstChosenFile(L"\0\0"s), L""); }
