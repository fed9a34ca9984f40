#include "runtime/files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/system/test_programs.h"

TEST(IsSameFile, TheSameFileSpelledAnotherWayIsTheSameFile) {
  TempFolder folder;
  WriteFileBytes(folder / L"song.MP3", "ID3");
  EXPECT_TRUE(IsSameFile(folder / L"song.MP3", folder / L"song.mp3"));
  EXPECT_TRUE(IsSameFile(folder / L"song.MP3", folder.Path() + L"\\.\\SONG.mp3"));
  ASSERT_TRUE(CreateHardLinkW((folder / L"linked.mp3").c_str(), (folder / L"song.MP3").c_str(), nullptr));
  EXPECT_TRUE(IsSameFile(folder / L"song.MP3", folder / L"linked.mp3"));
}

TEST(IsSameFile, DifferentFilesAreDifferent) {
  TempFolder folder;
  WriteFileBytes(folder / L"clip.avi", "RIFF");
  EXPECT_FALSE(IsSameFile(folder / L"clip.avi", folder / L"clip.mp3"));
  WriteFileBytes(folder / L"clip.mp3", "ID3");
  EXPECT_FALSE(IsSameFile(folder / L"clip.avi", folder / L"clip.mp3"));
}

TEST(IsSameFile, PathsOfFilesThatDoNotExistCompareWithoutLetterCase) {
  TempFolder folder;
  EXPECT_TRUE(IsSameFile(folder / L"Missing.MP3", folder / L"missing.mp3"));
  EXPECT_FALSE(IsSameFile(folder / L"missing.avi", folder / L"missing.mp3"));
}

TEST(IsNonEmptyFile, NeedsAFileWithAtLeastOneByte) {
  TempFolder folder;
  WriteFileBytes(folder / L"empty.mp3", "");
  WriteFileBytes(folder / L"full.mp3", "x");
  EXPECT_FALSE(IsNonEmptyFile(folder / L"empty.mp3"));
  EXPECT_TRUE(IsNonEmptyFile(folder / L"full.mp3"));
  EXPECT_FALSE(IsNonEmptyFile(folder / L"missing.mp3"));
  EXPECT_FALSE(IsNonEmptyFile(folder.Path()));
}

TEST(FullPath, ResolvesRelativePathsAndForwardSlashes) {
  TempFolder folder;
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  SetCurrentDirectoryW(folder.Path().c_str());
  EXPECT_EQ(FullPath(L"clip.mp3"), folder / L"clip.mp3");
  EXPECT_EQ(FullPath(L"sub/clip.mp3"), folder / L"sub\\clip.mp3");
  SetCurrentDirectoryW(current);
}
