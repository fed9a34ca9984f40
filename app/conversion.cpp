#include "app/conversion.h"

#include "app/conversion_outcome.h"
#include "app/converter_command_line.h"
#include "app/output_file.h"
#include "app/paths.h"
#include "app/texts.h"
#include "converter/converter_output.h"
#include "runtime/hidden_process.h"
#include "runtime/runtime_error.h"
#include "runtime/rules/text.h"

Conversion::Conversion(FileSystem& files, const Starter& start, Converter converter, std::wstring inputPath,
                       std::wstring mp3Path, Claimed claimed)
    : files_(files),
      converter_(std::move(converter)),
      inputPath_(std::move(inputPath)),
      mp3Path_(std::move(mp3Path)),
      claimed_(std::move(claimed)) {
  if (const DWORD error = ReserveUnfinishedFile(files_, mp3Path_, unfinishedPath_)) {
    startFailure_ = CannotWriteReason(FileNameOf(mp3Path_), error, SystemMessage(error));
    return;
  }
  try {
    process_ = start(BuildConverterCommandLine(converter_.path, inputPath_, unfinishedPath_));
  } catch (const RuntimeError& error) {
    // The system's words may name the program as "%1".
    const std::wstring words = WithInserts(SystemMessage(error.Code()), {FileNameOf(converter_.path)});
    startFailure_ = WithInserts(texts::kConverterNotStarted, {converter_.name, words});
  }
}

bool Conversion::IsRunning() { return process_ && process_->IsRunning(); }

std::optional<double> Conversion::Progress() {
  if (process_) ReadConverterMessages();
  return progress_.Share();
}

ConversionResult Conversion::Finish() {
  ConversionEnd end;
  end.converterName = converter_.name;
  end.startFailure = startFailure_;
  end.outputWritten = !unfinishedPath_.empty() && IsNonEmptyFile(files_, unfinishedPath_);
  end.inputName = FileNameOf(inputPath_);
  if (process_) {
    ReadConverterMessages();
    end.exitCode = process_->ExitCode();
    const std::wstring said = DecodeProgramOutput(messages_);
    end.lastErrorLine =
        ReasonFirst(LastErrorLine(said), {{inputPath_, end.inputName}, {unfinishedPath_, FileNameOf(mp3Path_)}});
    end.noStream = SaysNoStream(said);
    end.inputSeconds = progress_.ExactDuration();
    end.writtenSeconds = progress_.Written();
  }
  const std::wstring failure = FailureReason(end);
  if (!failure.empty()) {
    if (!unfinishedPath_.empty()) DiscardUnfinished(files_, unfinishedPath_);
    return {failure, L""};
  }
  const Placement placed = PutInPlace(files_, unfinishedPath_, mp3Path_, claimed_);
  if (!placed.refusal.empty()) {
    return {NotReplacedReason(FileNameOf(mp3Path_), placed.refusal, FileNameOf(placed.keptAt),
                              FileNameOf(placed.earlierAt)),
            L""};
  }
  if (!placed.earlierAt.empty()) {
    return {L"", placed.keptAt, WithInserts(texts::kReplacedKept, {placed.earlierWhy, FileNameOf(placed.earlierAt)})};
  }
  if (placed.earlierDeleted) return {L"", placed.keptAt, texts::kReplacedDeleted};
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
