#include "converter/converter_output.h"

#include <gtest/gtest.h>

TEST(LastErrorLine, IsTheLastLineThatSaysSomething) {
  EXPECT_EQ(LastErrorLine(L"ffmpeg version 4.1\r\n  built with gcc\nC:\\v\\x.avi: No such file or directory\r\n"),
            L"C:\\v\\x.avi: No such file or directory");
  EXPECT_EQ(LastErrorLine(L"one\n\n  \n"), L"one");
  EXPECT_EQ(LastErrorLine(L"  only line  "), L"only line");
}

TEST(LastErrorLine, SkipsTheGenericTrailer) {
  EXPECT_EQ(LastErrorLine(L"header\nError while opening encoder for output stream #0:0\nConversion failed!\n"),
            L"Error while opening encoder for output stream #0:0");
}

TEST(LastErrorLine, ReadsProgressLinesEndedByCarriageReturns) {
  EXPECT_EQ(LastErrorLine(L"size=1kB time=00:00:01\rsize=40kB time=00:00:05\r\n"), L"size=40kB time=00:00:05");
}

TEST(LastErrorLine, IsEmptyWhenNothingWasSaid) {
  EXPECT_EQ(LastErrorLine(L""), L"");
  EXPECT_EQ(LastErrorLine(L"\r\n\n \t\n"), L"");
  EXPECT_EQ(LastErrorLine(L"Conversion failed!\n"), L"");
}
