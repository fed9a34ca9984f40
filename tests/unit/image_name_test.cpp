#include "converter/image_name.h"

#include <gtest/gtest.h>

TEST(ImageNameMatches, IgnoresLetterCase) {
  EXPECT_TRUE(ImageNameMatches(L"ffmpeg.exe", L"FFMPEG.EXE"));
  EXPECT_TRUE(ImageNameMatches(L"FFMPEG.EXE", L"FFMPEG.EXE"));
  EXPECT_TRUE(ImageNameMatches(L"FFmpeg.Exe", L"FFMPEG.EXE"));
}

TEST(ImageNameMatches, ComparesTheEndOnly) {
  EXPECT_TRUE(ImageNameMatches(L"myffmpeg.exe", L"FFMPEG.EXE"));
  EXPECT_TRUE(ImageNameMatches(L"C:\\Tools\\ffmpeg.exe", L"FFMPEG.EXE"));
  EXPECT_FALSE(ImageNameMatches(L"ffmpeg.exe.old", L"FFMPEG.EXE"));
  EXPECT_FALSE(ImageNameMatches(L"ffmpeg", L"FFMPEG.EXE"));
  EXPECT_FALSE(ImageNameMatches(L"ffmpeg.ex", L"FFMPEG.EXE"));
  EXPECT_FALSE(ImageNameMatches(L"peg.exe", L"FFMPEG.EXE"));
}

TEST(ImageNameMatches, AnEmptyNameMatchesNothing) {
  EXPECT_FALSE(ImageNameMatches(L"ffmpeg.exe", L""));
  EXPECT_FALSE(ImageNameMatches(L"", L""));
}
