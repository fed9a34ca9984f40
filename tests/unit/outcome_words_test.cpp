#include "app/outcome_words.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* what;
  FileOutcome outcome;
  std::wstring reason;
};

// As the conversion judges the converter's end.
FileOutcome Ended(unsigned long exitCode, bool written, std::wstring said = L"",
                  std::optional<double> inputSeconds = std::nullopt,
                  std::optional<double> writtenSeconds = std::nullopt) {
  FileOutcome outcome;
  outcome.name = L"clip.avi";
  outcome.converterName = L"ffmpeg.exe";
  outcome.end = {exitCode, written, std::move(said), false, inputSeconds, writtenSeconds};
  outcome.kind = IsComplete(outcome.end) ? FileOutcome::Kind::Converted : FileOutcome::Kind::Failed;
  return outcome;
}

FileOutcome WithNoStream(FileOutcome outcome) {
  outcome.end.noStream = true;
  return outcome;
}

FileOutcome NotStarted(unsigned long error, std::wstring words) {
  FileOutcome outcome = Ended(0, false);
  outcome.kind = FileOutcome::Kind::NotStarted;
  outcome.converterName = L"C:\\Tools\\ffmpeg.exe";
  outcome.error = {error, std::move(words)};
  return outcome;
}

}  // namespace

TEST(FailureReason, TellsWhatWentWrongInPlainWords) {
  const std::vector<Case> cases = {
      {"success", Ended(0, true, L"size=40kB time=00:00:05.01"), L""},
      {"failed start, the system's words naming the program",
       NotStarted(193, L"%1 is not a valid Win32 application."),
       L"C:\\Tools\\ffmpeg.exe could not be started (ffmpeg.exe is not a valid Win32 application.)"},
      {"no sound", WithNoStream(Ended(1, false, L"Error opening output files: Invalid argument")),
       L"clip.avi has no sound to make an MP3 of"},
      {"own words", Ended(1, false, L"Invalid data found when processing input"),
       L"Invalid data found when processing input"},
      // Even with a file written: a partial MP3 is no success.
      {"own words, partial MP3", Ended(1, true, L"Error while decoding stream"), L"Error while decoding stream"},
      {"no words", Ended(1, false), L"ffmpeg.exe stopped with exit code 1"},
      {"crash", Ended(0xC0000005, true), L"ffmpeg.exe stopped with exit code 0xC0000005"},
      {"missing DLL", Ended(0xC0000135, false),
       L"ffmpeg.exe could not start because a DLL it needs is missing (a shared FFmpeg build needs its DLLs beside "
       L"it)"},
      {"bad image", Ended(0xC000007B, false),
       L"ffmpeg.exe could not start because it or a DLL beside it is damaged or made for another Windows (32- and "
       L"64-bit files mixed)"},
      {"exit 0, no MP3", Ended(0, false, L"size=0kB"), L"ffmpeg.exe finished but wrote no MP3"},
      {"input cut short", Ended(0, true, L"", 1800.0, 227.4), L"the MP3 stops at 3:47 of 30:00"},
      {"cut short, no progress", Ended(0, true, L"", 3723.0), L"the MP3 stops at 0:00 of 1:02:03"},
      {"rounding", Ended(0, true, L"", 5.0, 5.01), L""},
      {"sound ends before the picture", Ended(0, true, L"", 10.0, 8.5), L""},
      {"a few seconds short of a long input", Ended(0, true, L"", 1800.0, 1700.0), L""},
      {"length unknown or estimated", Ended(0, true, L"", std::nullopt, 3.0), L""},
  };
  for (const Case& c : cases) EXPECT_EQ(FailureReason(c.outcome, L"C:\\Quillet"), c.reason) << c.what;
}
