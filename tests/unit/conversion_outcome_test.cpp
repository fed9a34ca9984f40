#include "app/conversion_outcome.h"

#include <gtest/gtest.h>

TEST(FailureReason, SuccessIsExitCodeZeroWithAWrittenMp3) {
  EXPECT_EQ(FailureReason({L"", 0, true, L"size=40kB time=00:00:05.01"}), L"");
}

TEST(FailureReason, AFailedStartNamesItsCause) {
  EXPECT_EQ(FailureReason({L"ffmpeg.exe was not found in the program's folder", 0, false, L""}),
            L"ffmpeg.exe was not found in the program's folder");
}

TEST(FailureReason, ANonZeroExitGivesTheConvertersLastWord) {
  EXPECT_EQ(FailureReason({L"", 1, false, L"C:\\v\\bad.avi: Invalid data found when processing input"}),
            L"C:\\v\\bad.avi: Invalid data found when processing input");
  // Even with a file written: a partial MP3 is no success.
  EXPECT_EQ(FailureReason({L"", 1, true, L"Error while decoding stream"}), L"Error while decoding stream");
}

TEST(FailureReason, ANonZeroExitWithoutWordsGivesTheCode) {
  EXPECT_EQ(FailureReason({L"", 1, false, L""}), L"ffmpeg.exe stopped with exit code 1");
  EXPECT_EQ(FailureReason({L"", 0xC0000005, true, L""}), L"ffmpeg.exe stopped with exit code 0xC0000005");
}

TEST(FailureReason, ExitCodeZeroWithoutAnMp3IsAFailure) {
  EXPECT_EQ(FailureReason({L"", 0, false, L"size=0kB"}), L"ffmpeg.exe finished but wrote no MP3");
}

TEST(StartFailureReason, AMissingConverterIsNamedPlainly) {
  EXPECT_EQ(StartFailureReason(2, L"Cannot start"), L"ffmpeg.exe was not found in the program's folder");
  EXPECT_EQ(StartFailureReason(3, L"Cannot start"), L"ffmpeg.exe was not found in the program's folder");
  EXPECT_EQ(StartFailureReason(5, L"Access is denied."), L"ffmpeg.exe could not be started (Access is denied.)");
}
