#include "app/conversion_outcome.h"

#include <cwchar>

namespace {

// Exit codes with which Windows' loader ends a program that could not start.
constexpr unsigned long kDllNotFound = 0xC0000135;
constexpr unsigned long kBadImage = 0xC000007B;

// How far short of the input's end an MP3 may stop and still count as all of it: containers round
// and estimate their lengths, and a video's sound may end a little before its picture.
constexpr double kShortByShare = 0.9;
constexpr double kShortBySeconds = 2.0;

std::wstring ExitCodeText(unsigned long code) {
  wchar_t text[16];
  // Codes beyond 16 bits are Windows status codes (a crash, say), read in hexadecimal.
  std::swprintf(text, 16, code > 0xFFFF ? L"0x%08lX" : L"%lu", code);
  return text;
}

std::wstring ExitReason(const ConversionEnd& end) {
  if (end.exitCode == kDllNotFound) {
    return L"ffmpeg.exe could not start because a DLL it needs is missing (a shared FFmpeg build needs its DLLs "
           L"beside it)";
  }
  if (end.exitCode == kBadImage) {
    return L"ffmpeg.exe could not start because it or a DLL beside it is damaged or made for another Windows "
           L"(32- and 64-bit files mixed)";
  }
  return end.lastErrorLine.empty() ? L"ffmpeg.exe stopped with exit code " + ExitCodeText(end.exitCode)
                                   : end.lastErrorLine;
}

bool IsClearlyShort(double written, double input) {
  return written < input * kShortByShare && input - written > kShortBySeconds;
}

}  // namespace

std::wstring FailureReason(const ConversionEnd& end) {
  if (!end.startFailure.empty()) return end.startFailure;
  if (end.exitCode != 0) return ExitReason(end);
  if (!end.outputWritten) return L"ffmpeg.exe finished but wrote no MP3";
  if (end.inputSeconds && IsClearlyShort(end.writtenSeconds.value_or(0), *end.inputSeconds)) {
    return L"the MP3 stops at " + ClockText(end.writtenSeconds.value_or(0)) + L" of " + ClockText(*end.inputSeconds);
  }
  return L"";
}

std::wstring StartFailureReason(unsigned long win32Code, const std::wstring& description) {
  constexpr unsigned long kFileNotFound = 2;
  constexpr unsigned long kPathNotFound = 3;
  if (win32Code == kFileNotFound || win32Code == kPathNotFound) {
    return L"ffmpeg.exe was not found in the program's folder";
  }
  return L"ffmpeg.exe could not be started (" + description + L")";
}

std::wstring CannotWriteReason(const std::wstring& mp3Name, unsigned long win32Code, const std::wstring& systemWords) {
  // The MP3 goes beside the input: without its folder, there is no input either. Said as ffmpeg says it.
  constexpr unsigned long kPathNotFound = 3;
  if (win32Code == kPathNotFound) return L"No such file or directory";
  return mp3Name + L" cannot be written in its folder: " + systemWords;
}

std::wstring NotReplacedReason(const std::wstring& mp3Name, const std::wstring& refusal, const std::wstring& keptName) {
  return mp3Name + L" could not be replaced: " + refusal + L". The new MP3 is " + keptName;
}

std::wstring ClockText(double seconds) {
  const long whole = seconds > 0 ? static_cast<long>(seconds) : 0;
  wchar_t text[32];
  if (whole >= 3600) {
    std::swprintf(text, 32, L"%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::swprintf(text, 32, L"%ld:%02ld", whole / 60, whole % 60);
  }
  return text;
}
