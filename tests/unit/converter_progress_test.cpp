#include "converter/converter_progress.h"

#include <gtest/gtest.h>

#include "ffmpeg_captures.h"

namespace {

// Reads the converter's output in pieces of the given size, as the ticks find it.
ConverterProgress ReadInPieces(const std::string& output, size_t piece) {
  ConverterProgress progress;
  for (size_t at = 0; at < output.size(); at += piece) progress.Read(output.substr(at, piece));
  return progress;
}

}  // namespace

TEST(ParseClock, ReadsHoursMinutesSecondsAndHundredths) {
  EXPECT_DOUBLE_EQ(*ParseClock("00:10:00.00"), 600.0);
  EXPECT_DOUBLE_EQ(*ParseClock("01:02:03.5"), 3723.5);
  EXPECT_DOUBLE_EQ(*ParseClock("00:00:05"), 5.0);
  for (const char* other : {"N/A", "", "00:00", "00:61:00.00", "-577014:32:22.77", "00:00:01.", "00:00:01.x"}) {
    EXPECT_FALSE(ParseClock(other)) << other;
  }
}

TEST(ConverterProgress, FollowsARealConversionOfAVideoToItsEnd) {
  ConverterProgress progress;
  EXPECT_FALSE(progress.Share());
  const std::string& output = kFfmpegVideoOutput;
  // The 5-second clip's third progress line says 3.05 seconds are written.
  const size_t third = output.find("time=00:00:03.05");
  ASSERT_NE(third, std::string::npos);
  progress.Read(output.substr(0, third + 30));
  ASSERT_TRUE(progress.Share());
  EXPECT_NEAR(*progress.Share(), 3.05 / 5.0, 0.001);
  progress.Read(output.substr(third + 30));
  EXPECT_NEAR(*progress.Share(), 1.0, 0.01);
}

TEST(ConverterProgress, ReadsAnAudioOnlyConversionInAnyPieces) {
  for (size_t piece : {1u, 7u, 64u, 4096u}) {
    const ConverterProgress progress = ReadInPieces(kFfmpegAudioOutput, piece);
    ASSERT_TRUE(progress.Share()) << piece;
    EXPECT_NEAR(*progress.Share(), 1.0, 0.01) << piece;
  }
}

TEST(ConverterProgress, ACorruptInputHasNoShare) { EXPECT_FALSE(ReadInPieces(kFfmpegCorruptOutput, 100).Share()); }

TEST(ConverterProgress, AnInputWithoutLengthHasNoShare) {
  ConverterProgress progress;
  progress.Read("  Duration: N/A, start: 0.000000, bitrate: N/A\nsize=   10kB time=00:00:01.00 bitrate=64kbits/s\r");
  EXPECT_FALSE(progress.Share());
}

TEST(ConverterProgress, NeverShowsMoreThanAll) {
  ConverterProgress progress;
  progress.Read("  Duration: 00:00:01.00, start\nsize=   10kB time=00:00:01.05 bitrate=64kbits/s\r");
  EXPECT_DOUBLE_EQ(*progress.Share(), 1.0);
}
