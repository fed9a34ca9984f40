#include "app/conversion_outcome.h"

#include <cwchar>

#include "app/texts.h"
#include "runtime/rules/text.h"

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
  if (end.exitCode == kDllNotFound) return WithInserts(texts::kConverterMissesDll, {end.converterName});
  if (end.exitCode == kBadImage) return WithInserts(texts::kConverterDamaged, {end.converterName});
  if (end.noStream) return WithInserts(texts::kNoSound, {end.inputName});
  return end.lastErrorLine.empty()
             ? WithInserts(texts::kConverterExitCode, {end.converterName, ExitCodeText(end.exitCode)})
             : end.lastErrorLine;
}

bool IsClearlyShort(double written, double input) {
  return written < input * kShortByShare && input - written > kShortBySeconds;
}

}  // namespace

std::wstring FailureReason(const ConversionEnd& end) {
  if (!end.startFailure.empty()) return end.startFailure;
  if (end.exitCode != 0) return ExitReason(end);
  if (!end.outputWritten) return WithInserts(texts::kConverterWroteNothing, {end.converterName});
  if (end.inputSeconds && IsClearlyShort(end.writtenSeconds.value_or(0), *end.inputSeconds)) {
    return WithInserts(texts::kMp3TooShort, {ClockText(end.writtenSeconds.value_or(0)), ClockText(*end.inputSeconds)});
  }
  return L"";
}

std::wstring CannotWriteReason(const std::wstring& mp3Name, unsigned long win32Code, const std::wstring& systemWords) {
  constexpr unsigned long kPathNotFound = 3;
  if (win32Code == kPathNotFound) return texts::kNoSuchFile;
  return WithInserts(texts::kCannotWrite, {mp3Name, systemWords});
}

std::wstring NotReplacedReason(const std::wstring& mp3Name, const std::wstring& refusal, const std::wstring& keptName,
                               const std::wstring& earlierName) {
  const std::wstring reason = WithInserts(texts::kNotReplaced, {mp3Name, refusal, keptName});
  return earlierName.empty() ? reason : reason + WithInserts(texts::kReplacedAside, {earlierName});
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
