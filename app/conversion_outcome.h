#pragma once
#include <optional>
#include <string>

// What is known about a conversion once its converter process has gone.
struct ConversionEnd {
  std::wstring converterName;            // as the user is told it: "ffmpeg.exe" or its path
  std::wstring startFailure;             // why the converter could not be started; empty when it was
  unsigned long exitCode = 0;            // the converter's exit code
  bool outputWritten = false;            // the (unfinished) MP3 exists and is not empty
  std::wstring lastErrorLine;            // the converter's own last word on its error stream, reason first
  bool noStream = false;                 // the converter found nothing in the input to write into an MP3
  std::wstring inputName;                // the input file's name
  std::optional<double> inputSeconds;    // the input's length, where the converter knew it for sure
  std::optional<double> writtenSeconds;  // how much of it the MP3 holds
};

// Why the conversion failed, in plain words, or "" when it succeeded: the converter ended with 0 and
// left a non-empty MP3 that holds (nearly) all of the input where the input's length is known.
std::wstring FailureReason(const ConversionEnd& end);

// Why no MP3 can be written beside the input, from the Windows error code and its words.
std::wstring CannotWriteReason(const std::wstring& mp3Name, unsigned long win32Code, const std::wstring& systemWords);

// Why a complete MP3 did not take its name, the name it has instead, and the name of the MP3 it was
// to replace where that could not keep its own ("" where it could).
std::wstring NotReplacedReason(const std::wstring& mp3Name, const std::wstring& refusal, const std::wstring& keptName,
                               const std::wstring& earlierName);

// A length as a player shows it: "3:47", "1:02:03".
std::wstring ClockText(double seconds);
