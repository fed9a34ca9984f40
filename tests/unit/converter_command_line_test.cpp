#include "app/converter_command_line.h"

#include <gtest/gtest.h>

TEST(ConverterCommandLine, QuotesTheProgramAndBothPaths) {
  EXPECT_EQ(
      BuildConverterCommandLine(L"C:\\Program Files\\Quillet", L"C:\\My Videos\\clip.avi", L"C:\\My Videos\\clip.mp3"),
      L"\"C:\\Program Files\\Quillet\\ffmpeg.exe\" -y -i \"\\\\?\\C:\\My Videos\\clip.avi\" -f mp3 "
      L"\"\\\\?\\C:\\My Videos\\clip.mp3\"");
  EXPECT_EQ(BuildConverterCommandLine(L"C:\\Quillet", L"\\\\nas\\v\\clip.avi", L"\\\\nas\\v\\clip.mp3"),
            L"\"C:\\Quillet\\ffmpeg.exe\" -y -i \"\\\\?\\UNC\\nas\\v\\clip.avi\" -f mp3 "
            L"\"\\\\?\\UNC\\nas\\v\\clip.mp3\"");
}

TEST(ConverterCommandLine, TheProgramLiesInTheProgramFolder) {
  EXPECT_EQ(ConverterPath(L"C:\\Program Files\\Quillet"), L"C:\\Program Files\\Quillet\\ffmpeg.exe");
  EXPECT_EQ(ConverterPath(L"C:\\"), L"C:\\ffmpeg.exe");
}

TEST(ConverterCommandLine, PassesPathsWithoutTrimming) {
  EXPECT_EQ(BuildConverterCommandLine(L"D:\\q", L" clip.avi ", L" clip.mp3"),
            L"\"D:\\q\\ffmpeg.exe\" -y -i \" clip.avi \" -f mp3 \" clip.mp3\"");
}

TEST(QuoteArgument, TrailingBackslashesDoNotEscapeTheClosingQuote) {
  EXPECT_EQ(QuoteArgument(L"C:\\Videos\\"), L"\"C:\\Videos\\\\\"");
  EXPECT_EQ(QuoteArgument(L"C:\\a\\\\"), L"\"C:\\a\\\\\\\\\"");
  EXPECT_EQ(QuoteArgument(L"C:\\a\\b"), L"\"C:\\a\\b\"");
  EXPECT_EQ(QuoteArgument(L""), L"\"\"");
}

TEST(QuoteArgument, DropsQuotesThatNoPathCanHold) { EXPECT_EQ(QuoteArgument(L"C:\\a\"b.avi"), L"\"C:\\ab.avi\""); }

TEST(QuoteArgument, KeepsAnyCharacter) {
  EXPECT_EQ(QuoteArgument(L"C:\\Видео\\東京 🎬.mp4"), L"\"C:\\Видео\\東京 🎬.mp4\"");
}
