#include "app/outcome_words.h"

#include <cwchar>

#include "app/texts.h"
#include "runtime/rules/path_text.h"
#include "runtime/rules/text.h"

namespace {

// Exit codes with which Windows' loader ends a program that could not start.
constexpr unsigned long kDllNotFound = 0xC0000135;
constexpr unsigned long kBadImage = 0xC000007B;
// Win32 errors whose words the user is told otherwise.
constexpr unsigned long kPathNotFound = 3, kSharingViolation = 32, kLockViolation = 33;

std::wstring ExitCodeText(unsigned long code) {
  wchar_t text[16];
  // Codes beyond 16 bits are Windows status codes (a crash, say), read in hexadecimal.
  std::swprintf(text, 16, code > 0xFFFF ? L"0x%08lX" : L"%lu", code);
  return text;
}

std::wstring ConverterFailure(const FileOutcome& outcome) {
  const ConverterEnd& end = outcome.end;
  if (end.exitCode == kDllNotFound) return WithInserts(texts::kConverterMissesDll, {outcome.converterName});
  if (end.exitCode == kBadImage) return WithInserts(texts::kConverterDamaged, {outcome.converterName});
  if (end.exitCode != 0 && end.noStream) return WithInserts(texts::kNoSound, {outcome.name});
  if (end.exitCode != 0) {
    return end.lastErrorLine.empty()
               ? WithInserts(texts::kConverterExitCode, {outcome.converterName, ExitCodeText(end.exitCode)})
               : end.lastErrorLine;
  }
  if (!end.outputWritten) return WithInserts(texts::kConverterWroteNothing, {outcome.converterName});
  return WithInserts(texts::kMp3TooShort,
                     {ClockText(end.writtenSeconds.value_or(0)), ClockText(end.inputSeconds.value_or(0))});
}

// Why a file could not be replaced or recycled.
std::wstring Why(const SystemError& error) {
  if (error.code == kSharingViolation || error.code == kLockViolation) return texts::kOpenElsewhere;
  const std::wstring words = Trimmed(error.words, L". ");
  return words.empty() ? WithInserts(texts::kErrorNumber, {std::to_wstring(error.code)}) : words;
}

std::wstring NotReplaced(const FileOutcome& outcome) {
  const Placement& placed = outcome.placement;
  const std::wstring refusal = placed.refusal == Placement::Refusal::ReadOnly ? texts::kReadOnly
                               : placed.refusal == Placement::Refusal::Folder ? texts::kFolderOfThatName
                                                                              : Why(placed.error);
  const std::wstring reason =
      WithInserts(texts::kNotReplaced, {FileNameOf(outcome.mp3Path), refusal, FileNameOf(placed.keptAt)});
  return placed.earlierAt.empty() ? reason : reason + WithInserts(texts::kReplacedAside, {FileNameOf(placed.earlierAt)});
}

}  // namespace

std::wstring FailureReason(const FileOutcome& outcome, const std::wstring& programFolder) {
  switch (outcome.kind) {
    case FileOutcome::Kind::NoFile:
      return texts::kNotAFile;
    case FileOutcome::Kind::AlreadyAnMp3:
      return texts::kAlreadyMp3;
    case FileOutcome::Kind::NoConverter:
      return WithInserts(texts::kConverterNotFound, {programFolder});
    case FileOutcome::Kind::CannotWrite:
      // The MP3 goes beside the input: without its folder, there is no input either.
      if (outcome.error.code == kPathNotFound) return texts::kNoSuchFile;
      return WithInserts(texts::kCannotWrite, {FileNameOf(outcome.mp3Path), outcome.error.words});
    case FileOutcome::Kind::NotStarted:
      // The system's words may name the program as "%1".
      return WithInserts(texts::kConverterNotStarted,
                         {outcome.converterName, WithInserts(outcome.error.words, {FileNameOf(outcome.converterName)})});
    case FileOutcome::Kind::Failed:
      return ConverterFailure(outcome);
    case FileOutcome::Kind::Converted:
      break;
  }
  return outcome.placement.refusal == Placement::Refusal::None ? L"" : NotReplaced(outcome);
}

std::wstring NoteOn(const FileOutcome& outcome) {
  const Placement& placed = outcome.placement;
  if (outcome.kind != FileOutcome::Kind::Converted || placed.refusal != Placement::Refusal::None) return L"";
  if (!placed.earlierAt.empty()) {
    return WithInserts(texts::kReplacedKept, {Why(placed.earlierError), FileNameOf(placed.earlierAt)});
  }
  return placed.earlierDeleted ? texts::kReplacedDeleted : L"";
}

ListEnd Summarise(const std::vector<FileOutcome>& outcomes, const std::wstring& programFolder,
                  const std::wstring& note) {
  ListEnd end;
  std::wstring notes;
  const auto addNote = [&notes](const std::wstring& more) {
    if (!more.empty()) notes += (notes.empty() ? L"" : L". ") + more;
  };
  std::wstring firstName, firstFailure;
  size_t failed = 0;
  for (const FileOutcome& outcome : outcomes) {
    const std::wstring failure = FailureReason(outcome, programFolder);
    if (failure.empty()) {
      if (end.mp3Path.empty()) end.mp3Path = outcome.placement.keptAt;
      addNote(NoteOn(outcome));
    } else if (++failed == 1) {
      firstName = outcome.name;
      firstFailure = failure;
    }
    end.tip += WithInserts(failure.empty() ? texts::kFileConverted : texts::kFileFailed, {outcome.name, failure}) + L"\n";
  }
  addNote(note);
  end.complete = failed == 0;
  if (end.complete) {
    end.status = notes.empty() ? texts::kCompleteStatus : WithInserts(texts::kCompleteWithNote, {notes});
  } else if (outcomes.size() == 1) {
    end.status = texts::kFailedStatusPrefix + firstFailure;
  } else {
    end.status = texts::kFailedStatusPrefix + WithInserts(texts::kSomeFailed, {std::to_wstring(failed),
                                                                               std::to_wstring(outcomes.size()),
                                                                               firstName, firstFailure});
  }
  end.tip = outcomes.size() == 1 ? end.status : end.status + L"\n\n" + end.tip;
  return end;
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
