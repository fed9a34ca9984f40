#include "runtime/rules/command_line.h"

#include <gtest/gtest.h>

TEST(CommandLineTail, IsEverythingAfterTheProgramAndItsBlanks) {
  EXPECT_EQ(CommandLineTail(L"\"C:\\Program Files\\Quillet\\Quillet.exe\" \"C:\\My Videos\\clip.avi\""),
            L"\"C:\\My Videos\\clip.avi\"");
  EXPECT_EQ(CommandLineTail(L"Quillet.exe C:\\Videos\\clip.avi"), L"C:\\Videos\\clip.avi");
  EXPECT_EQ(CommandLineTail(L"Quillet.exe    \"a.avi\" \"b.avi\"  "), L"\"a.avi\" \"b.avi\"  ");
  EXPECT_EQ(CommandLineTail(L"Quillet.exe \"\""), L"\"\"");
}

TEST(CommandLineTail, IsEmptyWithoutArguments) {
  EXPECT_EQ(CommandLineTail(L"\"C:\\Program Files\\Quillet\\Quillet.exe\""), L"");
  EXPECT_EQ(CommandLineTail(L"Quillet.exe"), L"");
  EXPECT_EQ(CommandLineTail(L"Quillet.exe   "), L"");
  EXPECT_EQ(CommandLineTail(L""), L"");
}

TEST(CommandLineTail, AQuotedProgramNameMayTouchItsArguments) {
  EXPECT_EQ(CommandLineTail(L"\"C:\\Q\\Quillet.exe\"clip.avi"), L"clip.avi");
}

TEST(ProgramOfCommandLine, IsTheFirstTokenWithoutQuotes) {
  EXPECT_EQ(ProgramOfCommandLine(L"\"C:\\Program Files\\Quillet\\ffmpeg.exe\" -y -i \"a\" \"b\""),
            L"C:\\Program Files\\Quillet\\ffmpeg.exe");
  EXPECT_EQ(ProgramOfCommandLine(L"C:\\Tools\\ffmpeg.exe -y"), L"C:\\Tools\\ffmpeg.exe");
  // Unquoted, a path with blanks names only its first part; nothing else is tried.
  EXPECT_EQ(ProgramOfCommandLine(L"C:\\Program Files\\x.exe"), L"C:\\Program");
  EXPECT_EQ(ProgramOfCommandLine(L"\"C:\\unclosed"), L"C:\\unclosed");
  EXPECT_EQ(ProgramOfCommandLine(L""), L"");
}

TEST(PathsOfText, OnePathIsTheWholeTextSeveralAreReadAsACommandLineWould) {
  using Paths = std::vector<std::wstring>;
  EXPECT_EQ(PathsOfText(L"C:\\My Videos\\clip.avi"), Paths{L"C:\\My Videos\\clip.avi"});
  EXPECT_EQ(PathsOfText(L"\"C:\\My Videos\\a.avi\" \"C:\\b.avi\""), (Paths{L"C:\\My Videos\\a.avi", L"C:\\b.avi"}));
  EXPECT_EQ(PathsOfText(L" C:\\DOWNLO~1\\a.mp4  \"C:\\My Videos\\\""),
            (Paths{L"C:\\DOWNLO~1\\a.mp4", L"C:\\My Videos\\"}));
  EXPECT_EQ(PathsOfText(L"\"\""), Paths{L""});
  for (const Paths& paths : {Paths{L"C:\\a b.avi"}, Paths{L"C:\\a b.avi", L"\\\\nas\\v\\", L""}}) {
    EXPECT_EQ(PathsOfText(PathsAsText(paths)), paths);
  }
}
