#include "app/paths.h"

#include <gtest/gtest.h>

#include "app/texts.h"

TEST(GetMp3FileName, ReplacesTheFileNamesExtension) {
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\clip.avi"), L"C:\\Videos\\clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\clip.final.webm"), L"C:\\Videos\\clip.final.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\song.MP3"), L"C:\\Videos\\song.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\clip."), L"C:\\Videos\\clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"clip.avi"), L"clip.mp3");
}

TEST(GetMp3FileName, KeepsTheMp3BesideAnInputWithoutExtension) {
  // A dot in a folder name is not the file's extension.
  EXPECT_EQ(GetMp3FileName(L"C:\\My.Videos\\clip"), L"C:\\My.Videos\\clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\clip"), L"C:\\Videos\\clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:/My.Videos/clip"), L"C:/My.Videos/clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"\\\\server\\share.old\\clip"), L"\\\\server\\share.old\\clip.mp3");
}

TEST(GetMp3FileName, WorksForAnyCharactersAndLength) {
  EXPECT_EQ(GetMp3FileName(L"C:\\Видео\\東京 🎬.mkv"), L"C:\\Видео\\東京 🎬.mp3");
  const std::wstring deep = L"C:\\" + std::wstring(40000, L'a') + L"\\clip.avi";
  EXPECT_EQ(GetMp3FileName(deep), deep.substr(0, deep.size() - 4) + L".mp3");
}

TEST(GetFolder, KeepsEverythingUpToTheLastBackslash) {
  EXPECT_EQ(GetFolder(L"C:\\Videos\\clip.avi"), L"C:\\Videos\\");
  EXPECT_EQ(GetFolder(L"C:\\clip.avi"), L"C:\\");
  EXPECT_EQ(GetFolder(L"C:\\Videos\\"), L"C:\\Videos\\");
  EXPECT_EQ(GetFolder(L"\\\\server\\share\\clip.avi"), L"\\\\server\\share\\");
  EXPECT_EQ(GetFolder(L"clip.avi"), L"");
  EXPECT_EQ(GetFolder(L""), L"");
  EXPECT_EQ(GetFolder(L"C:/Videos/clip.avi"), L"");
  const std::wstring longName(40000, L'x');
  EXPECT_EQ(GetFolder(L"C:\\" + longName), L"C:\\");
  EXPECT_EQ(GetFolder(longName), L"");
}

TEST(IsNoVideo, ThePlaceholderNothingAndBlanksAreNoVideo) {
  EXPECT_TRUE(IsNoVideo(texts::kPlaceholder));
  EXPECT_TRUE(IsNoVideo(L""));
  EXPECT_TRUE(IsNoVideo(L"   "));
  EXPECT_TRUE(IsNoVideo(L" \t "));
}

TEST(IsNoVideo, ThePlaceholderInOtherCaseOrWithABlankIsAPath) {
  EXPECT_FALSE(IsNoVideo(L"please drag and drop a video here"));
  EXPECT_FALSE(IsNoVideo(std::wstring(texts::kPlaceholder) + L" "));
  EXPECT_FALSE(IsNoVideo(L"C:\\Videos\\clip.avi"));
}

TEST(WithoutDoubleQuotes, RemovesEveryQuoteAndNothingElse) {
  EXPECT_EQ(WithoutDoubleQuotes(L"\"C:\\My Videos\\clip.avi\""), L"C:\\My Videos\\clip.avi");
  EXPECT_EQ(WithoutDoubleQuotes(L"\"a.avi\" \"b.avi\""), L"a.avi b.avi");
  EXPECT_EQ(WithoutDoubleQuotes(L"\"\""), L"");
  EXPECT_EQ(WithoutDoubleQuotes(L" C:\\x.avi "), L" C:\\x.avi ");
}
