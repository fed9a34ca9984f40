#include "converter/converter_command_line.h"

#include <gtest/gtest.h>

TEST(ConverterCommandLine, QuotesTheProgramAndBothPaths) {
  EXPECT_EQ(BuildConverterCommandLine(L"C:\\Program Files\\Quillet\\ffmpeg.exe", L"C:\\My Videos\\clip.avi",
                                      L"C:\\My Videos\\clip.mp3"),
            L"\"C:\\Program Files\\Quillet\\ffmpeg.exe\" -y -i \"\\\\?\\C:\\My Videos\\clip.avi\" -f mp3 "
            L"\"\\\\?\\C:\\My Videos\\clip.mp3\"");
  EXPECT_EQ(BuildConverterCommandLine(L"C:\\Quillet\\ffmpeg.exe", L"\\\\nas\\v\\clip.avi", L"\\\\nas\\v\\clip.mp3"),
            L"\"C:\\Quillet\\ffmpeg.exe\" -y -i \"\\\\?\\UNC\\nas\\v\\clip.avi\" -f mp3 "
            L"\"\\\\?\\UNC\\nas\\v\\clip.mp3\"");
}

TEST(ConverterCommandLine, TheConverterIsLookedForBesideQuilletThenOnlyInFullPathsOfThePath) {
  EXPECT_EQ(ConverterCandidates(L"C:\\", L""), std::vector<std::wstring>{L"C:\\ffmpeg.exe"});
  EXPECT_EQ(
      ConverterCandidates(L"C:\\Program Files\\Quillet",
                          L"C:\\Windows;;.;bin;C:relative;\"C:\\Program Files\\FFmpeg\\bin\" ;\\\\nas\\tools\\;%HOME%"),
      (std::vector<std::wstring>{L"C:\\Program Files\\Quillet\\ffmpeg.exe", L"C:\\Windows\\ffmpeg.exe",
                                 L"C:\\Program Files\\FFmpeg\\bin\\ffmpeg.exe", L"\\\\nas\\tools\\ffmpeg.exe"}));
}

TEST(ConverterCommandLine, PassesPathsWithoutTrimming) {
  EXPECT_EQ(BuildConverterCommandLine(L"D:\\q\\ffmpeg.exe", L" clip.avi ", L" clip.mp3"),
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
