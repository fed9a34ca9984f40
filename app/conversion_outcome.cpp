#include "app/conversion_outcome.h"

#include <cwchar>

namespace {

std::wstring ExitCodeText(unsigned long code) {
  wchar_t text[16];
  // Codes beyond 16 bits are Windows status codes (a crash, say), read in hexadecimal.
  std::swprintf(text, 16, code > 0xFFFF ? L"0x%08lX" : L"%lu", code);
  return text;
}

}  // namespace

std::wstring FailureReason(const ConversionEnd& end) {
  if (!end.startFailure.empty()) return end.startFailure;
  if (end.exitCode != 0) {
    return end.lastErrorLine.empty() ? L"ffmpeg.exe stopped with exit code " + ExitCodeText(end.exitCode)
                                     : end.lastErrorLine;
  }
  if (!end.outputWritten) return L"ffmpeg.exe finished but wrote no MP3";
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
