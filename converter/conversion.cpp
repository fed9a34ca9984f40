#include "converter/conversion.h"

#include "converter/converter_command_line.h"
#include "converter/converter_output.h"
#include "runtime/hidden_process.h"
#include "runtime/rules/path_text.h"
#include "runtime/runtime_error.h"

Conversion::Conversion(FileWorker& worker, FileSystem& files, Starter start, ConverterProgram converter,
                       std::wstring inputPath, std::wstring mp3Path, OutputFile::ListFiles list,
                       ProcessPriority priority)
    : worker_(worker),
      start_(std::move(start)),
      converter_(std::move(converter)),
      inputPath_(std::move(inputPath)),
      priority_(priority),
      files_(std::make_shared<Files>(files, mp3Path, std::move(list))) {
  outcome_.name = FileNameOf(inputPath_);
  outcome_.mp3Path = std::move(mp3Path);
  outcome_.converterName = converter_.name;
  worker_.Queue([files = files_]() -> std::optional<ULONGLONG> {
    try {
      files->reserveError = files->output.Reserve();
    } catch (const std::exception&) {
      files->reserveError = ERROR_NOT_ENOUGH_MEMORY;
    }
    files->reserved = true;
    return std::nullopt;
  });
}

bool Conversion::Advance() {
  switch (stage_) {
    case Stage::Reserving:
      if (!files_->reserved) return false;
      if (const DWORD error = files_->reserveError) {
        outcome_.kind = FileOutcome::Kind::CannotWrite;
        outcome_.error = {error, SystemMessage(error)};
        stage_ = Stage::Ended;
        return true;
      }
      stopped_ ? Finish(std::nullopt) : Start();
      return false;
    case Stage::Converting:
      if (process_->IsRunning()) return false;
      stopped_ ? Finish(std::nullopt) : Judge();
      return false;
    case Stage::Finishing:
      if (!files_->done) return false;
      if (files_->complete) {
        outcome_.kind = FileOutcome::Kind::Converted;
        outcome_.placement = files_->output.Placed();
      }
      outcome_.end.outputWritten = files_->end.outputWritten;
      stage_ = Stage::Ended;
      return true;
    case Stage::Ended:
      break;
  }
  return true;
}

std::optional<double> Conversion::Progress() {
  if (stage_ == Stage::Converting) ReadConverterMessages();
  return progress_.Share();
}

void Conversion::LowerPriority() {
  if (stage_ == Stage::Reserving) priority_ = ProcessPriority::BelowNormal;
  if (stage_ == Stage::Converting) process_->LowerPriority();
}

void Conversion::Stop() {
  if (stage_ == Stage::Reserving) stopped_ = true;
  // One that ended by itself before may have finished its MP3, which then takes its place.
  if (stage_ == Stage::Converting && process_->IsRunning()) {
    stopped_ = true;
    process_->Terminate();
  }
}

void Conversion::Hurry(ULONGLONG deadline) {
  files_->output.WaitNoMore();
  if (stage_ == Stage::Converting && stopped_) process_->WaitUntilEnded(MillisecondsUntil(deadline));
}

void Conversion::Start() {
  try {
    process_ = start_(BuildConverterCommandLine(converter_.path, inputPath_, files_->output.UnfinishedPath()), priority_);
    stage_ = Stage::Converting;
  } catch (const RuntimeError& error) {
    outcome_.kind = FileOutcome::Kind::NotStarted;
    outcome_.error = {error.Code(), SystemMessage(error.Code())};
    Finish(std::nullopt);
  }
}

void Conversion::Judge() {
  ReadConverterMessages();
  ConverterEnd& end = outcome_.end;
  end.exitCode = process_->ExitCode();
  const std::wstring said = DecodeProgramOutput(messages_);
  end.lastErrorLine = ReasonFirst(LastErrorLine(said), {{inputPath_, outcome_.name},
                                                        {files_->output.UnfinishedPath(), FileNameOf(outcome_.mp3Path)}});
  end.noStream = SaysNoStream(said);
  end.inputSeconds = progress_.ExactDuration();
  end.writtenSeconds = progress_.Written();
  Finish(end);
}

void Conversion::Finish(std::optional<ConverterEnd> judged) {
  stage_ = Stage::Finishing;
  worker_.Queue([files = files_, judged, begun = false]() mutable -> std::optional<ULONGLONG> {
    try {
      if (!begun) {
        begun = true;
        if (judged) {
          files->end = *judged;
          files->end.outputWritten = files->output.IsWritten();
          files->complete = IsComplete(files->end);
        }
        files->complete ? files->output.Place() : files->output.Discard();
        return 0;
      }
      if (const std::optional<ULONGLONG> again = files->output.Advance()) return again;
    } catch (const std::exception&) {
      // Whatever step was under way leaves each file under a name the user can find; the MP3 counts as
      // not made.
      files->complete = false;
    }
    files->done = true;
    return std::nullopt;
  });
}

void Conversion::ReadConverterMessages() {
  const std::string newBytes = process_->ReadNewErrorOutput();
  progress_.Read(newBytes);
  KeepTail(messages_, newBytes);
}
