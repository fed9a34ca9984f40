#pragma once
#include <string>

// What is known about a conversion once its converter process has gone.
struct ConversionEnd {
  std::wstring startFailure;   // why the converter could not be started; empty when it was
  unsigned long exitCode = 0;  // the converter's exit code
  bool outputWritten = false;  // the MP3 exists and is not empty
  std::wstring lastErrorLine;  // the converter's own last word on its error stream
};

// Why the conversion failed, in plain words, or "" when it succeeded: the converter ended with 0
// and left a non-empty MP3.
std::wstring FailureReason(const ConversionEnd& end);

// Why the converter could not be started, from the Windows error code and text of the failed start.
std::wstring StartFailureReason(unsigned long win32Code, const std::wstring& description);
