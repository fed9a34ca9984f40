#include "converter/tovrandel1.h"

#include <windows.h>

#include "converter/process_kill.h"
#include "runtime/runtime_error.h"
#include "runtime/shell.h"

namespace {

// The converter's image name, matched without regard to letter case.
constexpr wchar_t kConverterImageName[] = L"FFMPEG.EXE";
constexpr UINT kConvertMediaInterval = 500;

}  // namespace

Tovrandel1::Tovrandel1(Timer& windowTimer) : Timer1(windowTimer) {}

Tovrandel1::~Tovrandel1() { KillProcessByName(kConverterImageName); }

void Tovrandel1::ConvertMedia(const std::wstring& CommandString) {
  try {
    LaunchCommand(CommandString);
  } catch (const std::exception&) {
    // A command that cannot be started starts nothing; the caller is not troubled.
  }
}

void Tovrandel1::CancelConvert() { KillProcessByName(kConverterImageName); }

void Tovrandel1::LaunchCommand(const std::wstring& commandLine) {
  Shell(commandLine, SW_HIDE);
  Timer1.SetEnabled(true);
  Timer1.SetInterval(kConvertMediaInterval);
}
