#include "app/conversion.h"

#include "app/conversion_outcome.h"
#include "app/converter_command_line.h"
#include "app/output_file.h"
#include "app/paths.h"
#include "converter/converter_output.h"
#include "runtime/hidden_process.h"
#include "runtime/runtime_error.h"

Conversion::Conversion(FileSystem& files, const Starter& start, const std::wstring& programFolder,
                       std::wstring inputPath, std::wstring mp3Path)
    : files_(files), inputPath_(std::move(inputPath)), mp3Path_(std::move(mp3Path)) {
  if (const DWORD error = ReserveUnfinishedFile(files_, mp3Path_, unfinishedPath_)) {
    startFailure_ = CannotWriteReason(FileNameOf(mp3Path_), error, SystemMessage(error));
    return;
  }
  try {
    process_ = start(BuildConverterCommandLine(programFolder, inputPath_, unfinishedPath_));
  } catch (const RuntimeError& error) {
    startFailure_ = StartFailureReason(error.Code(), SystemMessage(error.Code()));
  }
}

bool Conversion::IsRunning() { return process_ && process_->IsRunning(); }

std::optional<double> Conversion::Progress() {
  if (process_) ReadConverterMessages();
  return progress_.Share();
}

ConversionResult Conversion::Finish() {
  ConversionEnd end;
  end.startFailure = startFailure_;
  end.outputWritten = !unfinishedPath_.empty() && IsNonEmptyFile(files_, unfinishedPath_);
  if (process_) {
    ReadConverterMessages();
    end.exitCode = process_->ExitCode();
    end.lastErrorLine = ReasonFirst(LastErrorLine(DecodeProgramOutput(messages_)),
                                    {{inputPath_, FileNameOf(inputPath_)}, {unfinishedPath_, FileNameOf(mp3Path_)}});
    end.inputSeconds = progress_.ExactDuration();
    end.writtenSeconds = progress_.Written();
  }
  const std::wstring failure = FailureReason(end);
  if (!failure.empty()) {
    if (!unfinishedPath_.empty()) DiscardUnfinished(files_, unfinishedPath_);
    return {failure, L""};
  }
  const Placement placed = PutInPlace(files_, unfinishedPath_, mp3Path_);
  if (!placed.refusal.empty()) {
    return {NotReplacedReason(FileNameOf(mp3Path_), placed.refusal, FileNameOf(placed.keptAt)), L""};
  }
  return {L"", placed.keptAt};
}

void Conversion::Cancel() {
  // Stopping a process only starts its end; it lets go of its files when it has ended.
  constexpr DWORD kConverterEndWait = 5000;
  if (process_) {
    process_->Terminate();
    process_->WaitUntilEnded(kConverterEndWait);
  }
  if (!unfinishedPath_.empty()) DiscardUnfinished(files_, unfinishedPath_);
}

void Conversion::ReadConverterMessages() {
  const std::string newBytes = process_->ReadNewErrorOutput();
  progress_.Read(newBytes);
  KeepTail(messages_, newBytes);
}
