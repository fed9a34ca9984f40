#include "converter/converter_progress.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "converter/converter_output.h"

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

// What ffmpeg 7 says, written from its sources (fftools/ffmpeg_demux.c, ffmpeg_opt.c and the progress
// report of ffmpeg.c): context-prefixed errors, "time=N/A" before the first output, "elapsed=".
const std::string kFfmpeg7Missing =
    "ffmpeg version 7.1 Copyright (c) 2000-2024 the FFmpeg developers\r\n"
    "[in#0 @ 000001d5c8a1e340] Error opening input: No such file or directory\r\n"
    "Error opening input file \\\\?\\C:\\Videos\\missing.avi.\r\n"
    "Error opening input files: No such file or directory\r\n";
const std::string kFfmpeg7Audio =
    "Input #0, wav, from '\\\\?\\C:\\Videos\\audio.wav':\r\n"
    "  Duration: 00:00:05.00, bitrate: 705 kb/s\r\n"
    "size=       0KiB time=N/A bitrate=N/A speed=N/A elapsed=0:00:00.50    \r"
    "size=      24KiB time=00:00:03.05 bitrate=  64.5kbits/s speed=6.09x elapsed=0:00:00.50    \r"
    "[out#0/mp3 @ 000002a1c3e5f780] video:0KiB audio:39KiB subtitle:0KiB other streams:0KiB global headers:0KiB "
    "muxing overhead: 0.562815%\r\n"
    "size=      40KiB time=00:00:05.01 bitrate=  64.7kbits/s speed=8.21x elapsed=0:00:00.61    \r\n";

// Each ffmpeg's messages, real or written from its sources: the reason it gives, where it gives one,
// and the input's length and the output's end.
TEST(ConverterMessages, AreReadAlikeFromFfmpeg4Ffmpeg5AndFfmpeg7) {
  struct Case {
    const char* what;
    const std::string& output;
    std::wstring input;
    std::wstring reason;
    std::optional<double> duration, written;
  };
  const std::vector<Case> cases = {
      {"4.1 video", kFfmpegVideoOutput, L"", L"", 5.0, 5.01},
      {"4.1 audio", kFfmpegAudioOutput, L"", L"", 5.0, 5.01},
      {"4.1 corrupt", kFfmpegCorruptOutput, L"Z:\\tmp\\tmp.izyYNwhvPc\\corrupt.avi",
       L"Invalid data found when processing input", std::nullopt, std::nullopt},
      {"4.1 missing", kFfmpegMissingOutput, L"Z:\\tmp\\tmp.K9zFZNYlSA\\missing.avi", L"No such file or directory",
       std::nullopt, std::nullopt},
      {"5.1 video", kFfmpeg5VideoOutput, L"", L"", 5.0, 5.01},
      {"5.1 audio", kFfmpeg5AudioOutput, L"", L"", 5.0, 5.01},
      {"5.1 corrupt", kFfmpeg5CorruptOutput, L"/tmp/tmp.K9zFZNYlSA/corrupt.avi",
       L"Invalid data found when processing input", std::nullopt, std::nullopt},
      {"5.1 missing", kFfmpeg5MissingOutput, L"/tmp/tmp.K9zFZNYlSA/missing.avi", L"No such file or directory",
       std::nullopt, std::nullopt},
      {"7 missing", kFfmpeg7Missing, L"\\\\?\\C:\\Videos\\missing.avi",
       L"Error opening input files: No such file or directory", std::nullopt, std::nullopt},
      {"7 audio", kFfmpeg7Audio, L"", L"", 5.0, 5.01},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring said(c.output.begin(), c.output.end());
    if (!c.reason.empty()) {
      EXPECT_EQ(ReasonFirst(LastErrorLine(said), {{c.input, L"clip.avi"}}), c.reason);
    }
    const ConverterProgress progress = ReadInPieces(c.output, 64);
    EXPECT_EQ(progress.ExactDuration(), c.duration);
    ASSERT_EQ(progress.Written().has_value(), c.written.has_value());
    if (c.written) {
      EXPECT_NEAR(*progress.Written(), *c.written, 0.001);
    }
  }
}

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
