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
