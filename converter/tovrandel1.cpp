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

Tovrandel1::Tovrandel1(Timer& windowTimer, FileSystem& files, Conversion::Starter shellSync)
    : Timer1(windowTimer), files_(files), shellSync_(std::move(shellSync)) {}

Tovrandel1::~Tovrandel1() { CancelConvert(); }

void Tovrandel1::ConvertMedia(const std::wstring& CommandString) {
  try {
    LaunchCommand(CommandString);
  } catch (const std::exception&) {
    // A command that cannot be started starts nothing; the caller is not troubled.
  }
}

void Tovrandel1::CancelConvert() {
  conversions_.reset();
  // Those that ConvertMedia started, which no list holds.
  KillProcessByName(kConverterImageName);
}

void Tovrandel1::ConvertFiles(const Converter& converter, const std::vector<std::wstring>& texts, size_t atOnce) {
  conversions_ = std::make_unique<ConversionList>(files_, shellSync_, converter, atOnce, texts);
}

std::vector<FileOutcome> Tovrandel1::EndConversions() {
  std::vector<FileOutcome> outcomes = conversions_ ? conversions_->Outcomes() : std::vector<FileOutcome>();
  conversions_.reset();
  return outcomes;
}

void Tovrandel1::LaunchCommand(const std::wstring& commandLine) {
  Shell(commandLine, SW_HIDE);
  Timer1.SetEnabled(true);
  Timer1.SetInterval(kConvertMediaInterval);
}
