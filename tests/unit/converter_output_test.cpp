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

TEST(LastErrorLine, AnErrorAfterProgressIsTheCause) {
  EXPECT_EQ(LastErrorLine(L"size=1kB time=00:00:01\rsize=40kB time=00:00:05\r\nError writing trailer: No space left\n"),
            L"Error writing trailer: No space left");
}

TEST(LastErrorLine, ProgressOrThePromptLastMeansNoCauseWasNamed) {
  // A converter stopped from outside ends mid-way through its progress lines.
  EXPECT_EQ(LastErrorLine(L"Stream #0:0 -> #0:0\nPress [q] to stop, [?] for help\nsize=1kB time=00:00:01\r"), L"");
  EXPECT_EQ(LastErrorLine(L"frame=  12 fps=0.0 q=-1.0 size=0kB\r"), L"");
  EXPECT_EQ(LastErrorLine(L"Output #0, mp3\nPress [q] to stop, [?] for help\n"), L"");
}

TEST(LastErrorLine, IsEmptyWhenNothingWasSaid) {
  EXPECT_EQ(LastErrorLine(L""), L"");
  EXPECT_EQ(LastErrorLine(L"\r\n\n \t\n"), L"");
  EXPECT_EQ(LastErrorLine(L"Conversion failed!\n"), L"");
}

// However long it ran: ffmpeg ends its progress lines with a carriage return alone.
TEST(KeepTail, KeepsOnlyTheEndOfALongRunBeginningAtALine) {
  for (const char* lineEnd : {"\n", "\r"}) {
    std::string kept;
    const std::string progress = std::string("size=  40kB time=00:00:05.00 bitrate=  64.7kbits/s speed=2.3x") + lineEnd;
    for (int i = 0; i < 10000; ++i) KeepTail(kept, progress);
    KeepTail(kept, "Error writing trailer: No space left on device\n");
    EXPECT_LT(kept.size(), 200u * 1024);
    EXPECT_EQ(kept.compare(0, 5, "size="), 0);
    EXPECT_EQ(LastErrorLine(std::wstring(kept.begin(), kept.end())), L"Error writing trailer: No space left on device");
  }
}

TEST(ReasonFirst, DropsContextAndThePathTheLineBeginsWithAndNamesOtherPathsShortly) {
  const std::vector<std::pair<std::wstring, std::wstring>> paths = {
      {L"C:\\My Holiday Videos 2026\\Beach day", L"Beach day"},
      {L"C:\\My Holiday Videos 2026\\Beach day.mp3.part", L"Beach day.mp3"}};
  const std::vector<std::pair<std::wstring, std::wstring>> lines = {
      {L"\\\\?\\C:\\My Holiday Videos 2026\\Beach day: Invalid data found when processing input",
       L"Invalid data found when processing input"},
      {L"[in#0 @ 000001d5c8a1e340] Error opening input: No such file or directory",
       L"Error opening input: No such file or directory"},
      {L"Error opening input file \\\\?\\C:\\My Holiday Videos 2026\\Beach day.",
       L"Error opening input file Beach day."},
      {L"[out#0/mp3 @ 0000020b] Error opening output \\\\?\\C:\\My Holiday Videos 2026\\Beach day.mp3.part: "
       L"Permission denied",
       L"Error opening output Beach day.mp3: Permission denied"},
      {L"[mp3 @ 0x55d] [sic] odd", L"[sic] odd"},
      {L"Error while decoding stream #0:1: Invalid data found when processing input",
       L"Error while decoding stream #0:1: Invalid data found when processing input"},
  };
  for (const auto& [line, reason] : lines) EXPECT_EQ(ReasonFirst(line, paths), reason);
}

TEST(SaysNoStream, InTheWordsOfFfmpeg4To7) {
  EXPECT_TRUE(SaysNoStream(L"Output #0, mp3, to 'x.mp3.part':\nOutput file #0 does not contain any stream\n"));
  EXPECT_TRUE(
      SaysNoStream(L"[out#0/mp3 @ 0000020b] Output file does not contain any stream\n"
                   L"Error opening output file x.mp3.part.\nError opening output files: Invalid argument\n"));
  EXPECT_FALSE(SaysNoStream(L"Stream #0:1 -> #0:0 (aac (native) -> mp3 (libmp3lame))\nsize=40kB time=00:00:05\r"));
}
