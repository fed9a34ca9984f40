#include "converter/tovrandel1.h"

#include <windows.h>

#include "converter/process_kill.h"
#include "runtime/program_info.h"
#include "runtime/rules/command_line.h"
#include "runtime/shell.h"

namespace {

// The converter's image name, matched without regard to letter case.
constexpr wchar_t kConverterImageName[] = L"FFMPEG.EXE";
constexpr UINT kConvertMediaInterval = 500;
// How long a close tidies, on the ticks that follow it, after the converters it stopped.
constexpr ULONGLONG kCloseWait = 10000;
// How long the end of the session waits for them on the window's thread: Windows ends a program that
// holds the session up for longer.
constexpr ULONGLONG kEndOfSessionWait = 5000;

}  // namespace

Tovrandel1::Tovrandel1(Timer& windowTimer, OutsideWorld& world) : Timer1(windowTimer), world_(world) {}

// Whatever still runs ends with the controller. Where no close came first (an unforeseen error), what
// the converters leave is tidied now, as at the end of the session.
Tovrandel1::~Tovrandel1() {
  if (list_ && !Stopping()) {
    try {
      list_->FinishNow(GetTickCount64() + kEndOfSessionWait);
    } catch (const std::exception&) {
      list_->Stop();
    }
  }
  KillProcessByName(kConverterImageName);
}

void Tovrandel1::ConvertMedia(const std::wstring& CommandString) {
  try {
    LaunchCommand(CommandString);
  } catch (const std::exception&) {
    // A command that cannot be started starts nothing; the caller is not troubled.
  }
}

void Tovrandel1::CancelConvert() {
  if (!Stopping()) stopBy_ = GetTickCount64() + kCloseWait;
  if (list_) list_->Stop();
  // Those that ConvertMedia started, which no list holds.
  KillProcessByName(kConverterImageName);
}

void Tovrandel1::ConvertFiles(const std::vector<std::wstring>& texts) {
  const std::wstring programFolder = AppPath();
  const std::wstring pathVariable = EnvironmentVariable(L"PATH");
  list_ = std::make_unique<ConversionList>(
      world_.Files(),
      [this](const std::wstring& commandLine, ProcessPriority priority) {
        return world_.StartHidden(ProgramOfCommandLine(commandLine), commandLine, priority);
      },
      [programFolder, pathVariable](FileSystem& files) { return FindConverter(files, programFolder, pathVariable); },
      world_.LogicalProcessors(), texts, Timer1.TickSoon());
  ended_ = false;
}

void Tovrandel1::TakeMore(const std::vector<std::wstring>& texts) {
  if (Converting()) list_->Add(texts);
}

std::optional<std::vector<FileOutcome>> Tovrandel1::Tick() {
  if (!Converting() || !list_->Advance()) return std::nullopt;
  ended_ = true;
  return list_->Outcomes();
}

void Tovrandel1::OpenFolder(const std::wstring& folder) {
  if (list_) list_->OpenFolder(folder, [&world = world_](const std::wstring& shellPath) { return world.ShellOpen(shellPath); });
}

bool Tovrandel1::Stopped() { return !list_ || list_->Advance() || GetTickCount64() >= stopBy_; }

void Tovrandel1::FinishNow() {
  if (list_) list_->FinishNow(GetTickCount64() + kEndOfSessionWait);
}

void Tovrandel1::LaunchCommand(const std::wstring& commandLine) {
  Shell(commandLine, SW_HIDE);
  Timer1.SetEnabled(true);
  Timer1.SetInterval(kConvertMediaInterval);
}
