#include "converter/conversion.h"

#include "converter/converter_command_line.h"
#include "converter/converter_output.h"
#include "runtime/hidden_process.h"
#include "runtime/rules/path_text.h"
#include "runtime/runtime_error.h"

namespace {

// Stopping a process only starts its end; it lets go of its files when it has ended.
constexpr ULONGLONG kConverterEndWait = 5000;

}  // namespace

Conversion::Conversion(FileSystem& files, const Starter& start, const Converter& converter, std::wstring inputPath,
                       std::wstring mp3Path, OutputFile::ListFiles list, ProcessPriority priority)
    : inputPath_(std::move(inputPath)), output_(files, mp3Path, std::move(list)) {
  outcome_.name = FileNameOf(inputPath_);
  outcome_.mp3Path = std::move(mp3Path);
  outcome_.converterName = converter.name;
  if (const DWORD error = output_.ReserveError()) {
    outcome_.kind = FileOutcome::Kind::CannotWrite;
    outcome_.error = {error, SystemMessage(error)};
    return;
  }
  try {
    process_ = start(BuildConverterCommandLine(converter.path, inputPath_, output_.UnfinishedPath()), priority);
  } catch (const RuntimeError& error) {
    outcome_.kind = FileOutcome::Kind::NotStarted;
    outcome_.error = {error.Code(), SystemMessage(error.Code())};
  }
}

Conversion::~Conversion() {
  Stop();
  if (!waited_) WaitUntilStopped(GetTickCount64() + kConverterEndWait);
}

bool Conversion::Advance() {
  if (!judged_) {
    if (process_ && process_->IsRunning()) return false;
    Judge();
  }
  if (!output_.Advance()) return false;
  if (outcome_.kind == FileOutcome::Kind::Converted) outcome_.placement = output_.Placed();
  return true;
}

std::optional<double> Conversion::Progress() {
  if (process_ && !judged_) ReadConverterMessages();
  return progress_.Share();
}

void Conversion::LowerPriority() {
  if (process_ && !judged_) process_->LowerPriority();
}

void Conversion::Stop() {
  if (!judged_ && process_ && process_->IsRunning()) {
    stopped_ = true;
    process_->Terminate();
  }
}

void Conversion::WaitUntilStopped(ULONGLONG deadline) {
  if (!stopped_) return;
  waited_ = true;
  const ULONGLONG now = GetTickCount64();
  process_->WaitUntilEnded(static_cast<DWORD>(deadline > now ? deadline - now : 0));
}

void Conversion::FinishNow() {
  if (!judged_ && stopped_) {
    judged_ = true;
    output_.Discard();
  }
  // A converter that ended by itself before the stop may have finished its MP3.
  if (!judged_) Judge();
  output_.FinishNow();
  if (outcome_.kind == FileOutcome::Kind::Converted) outcome_.placement = output_.Placed();
}

void Conversion::Judge() {
  judged_ = true;
  if (!process_) {
    output_.Discard();
    return;
  }
  ReadConverterMessages();
  ConverterEnd& end = outcome_.end;
  end.exitCode = process_->ExitCode();
  end.outputWritten = output_.IsWritten();
  const std::wstring said = DecodeProgramOutput(messages_);
  end.lastErrorLine = ReasonFirst(
      LastErrorLine(said), {{inputPath_, outcome_.name}, {output_.UnfinishedPath(), FileNameOf(outcome_.mp3Path)}});
  end.noStream = SaysNoStream(said);
  end.inputSeconds = progress_.ExactDuration();
  end.writtenSeconds = progress_.Written();
  if (IsComplete(end)) {
    outcome_.kind = FileOutcome::Kind::Converted;
    output_.Place();
  } else {
    output_.Discard();
  }
}

void Conversion::ReadConverterMessages() {
  const std::string newBytes = process_->ReadNewErrorOutput();
  progress_.Read(newBytes);
  KeepTail(messages_, newBytes);
}
