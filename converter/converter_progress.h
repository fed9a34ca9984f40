#pragma once
#include <optional>
#include <string>
#include <string_view>

// How far the converter has come, read from its error stream while it writes it: the input's
// length from "Duration: 00:10:00.00" and the output written so far from the last
// "time=00:01:23.45" of its progress lines ("time=N/A" says nothing). A length that the converter
// only estimated ("Estimating duration from bitrate") is good for progress, not for judging the end.
class ConverterProgress {
 public:
  // Takes the bytes that the converter wrote since the last call.
  void Read(std::string_view newBytes);
  // The share of the input written, from 0 to 1; none while the input's length is unknown, or when
  // the input has none.
  std::optional<double> Share() const;
  // The input's length in seconds where the converter read it from the file, not estimated it.
  std::optional<double> ExactDuration() const;
  // How many seconds the output holds; none before the first progress line with a time.
  std::optional<double> Written() const { return written_; }

 private:
  std::string unread_;  // the end of the bytes read so far, where a figure may have been cut off
  std::optional<double> duration_;
  bool durationEstimated_ = false;
  std::optional<double> written_;
};

// "HH:MM:SS.cc" (or fewer decimals) in seconds; none for anything else.
std::optional<double> ParseClock(std::string_view text);
