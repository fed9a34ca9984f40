#include "converter/output_file.h"

#include <algorithm>
#include <iterator>

#include "converter/output_names.h"
#include "runtime/runtime_error.h"

namespace {

// Unfinished, aside and numbered names tried before giving up.
constexpr int kNamesToTry = 100;
// The pauses between the calls of one step on a busy file, the last one repeated until the deadline.
constexpr DWORD kBusyPauses[] = {50, 100, 200, 400, 800, 1000};
// How long a file may be busy before a step gives up on it: longer than a scanner reads a large file.
constexpr ULONGLONG kPatience = 10000;

// Whether another program has the file open without sharing it, or is removing it: Windows answers a
// file that is being scanned or is pending deletion with "access denied".
bool IsBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool IsTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

}  // namespace

OutputFile::OutputFile(FileSystem& files, std::wstring mp3Path, ListFiles list)
    : files_(files), mp3Path_(std::move(mp3Path)), list_(std::move(list)) {}

DWORD OutputFile::Reserve() {
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < kNamesToTry && IsTaken(error); ++attempt) {
    const std::wstring candidate = UnfinishedName(mp3Path_, attempt);
    UniqueFileHandle created;
    error = files_.Open(candidate, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, created);
    if (error == ERROR_SUCCESS) unfinishedPath_ = candidate;
  }
  return error;
}

bool OutputFile::IsWritten() {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  return !unfinishedPath_.empty() && files_.Attributes(unfinishedPath_, attributes) == ERROR_SUCCESS &&
         !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes.nFileSizeHigh != 0 || attributes.nFileSizeLow != 0);
}

void OutputFile::Place() { Begin(Step::Look); }

void OutputFile::Discard() { Begin(unfinishedPath_.empty() ? Step::None : Step::Delete); }

std::optional<ULONGLONG> OutputFile::Advance() {
  if (step_ == Step::None) return std::nullopt;
  const ULONGLONG now = GetTickCount64();
  if (now < nextCall_ && !waitsNoMore_) return nextCall_;
  const DWORD result = Call();
  if (IsBusy(result) && !waitsNoMore_ && now < deadline_) {
    nextCall_ = now + kBusyPauses[std::min<size_t>(pauses_++, std::size(kBusyPauses) - 1)];
    return nextCall_;
  }
  Next(result);
  if (step_ != Step::None) return nextCall_;
  if (!placement_.keptAt.empty()) list_.kept(placement_.keptAt);
  return std::nullopt;
}

void OutputFile::Begin(Step step) {
  step_ = step;
  nextCall_ = 0;
  deadline_ = GetTickCount64() + kPatience;
  pauses_ = 0;
}

DWORD OutputFile::Call() {
  switch (step_) {
    case Step::Look:
      // Asking what has the name opens nothing, so a reader of the earlier MP3 is no reason to keep both.
      return files_.Attributes(mp3Path_, earlier_);
    case Step::StepAside:
      target_ = AsideName(mp3Path_, number_);
      return MoveToUnclaimed(mp3Path_, target_);
    case Step::MoveIn:
      return files_.Move(unfinishedPath_, mp3Path_, false);
    case Step::MoveBack:
      return files_.Move(aside_, mp3Path_, false);
    case Step::KeepBeside:
      target_ = NumberedName(mp3Path_, number_);
      return MoveToUnclaimed(unfinishedPath_, target_);
    case Step::Recycle:
      return files_.Recycle(aside_, placement_.earlierDeleted);
    case Step::Delete:
      return files_.Delete(unfinishedPath_);
    case Step::None:
      break;
  }
  return ERROR_SUCCESS;
}

void OutputFile::Next(DWORD result) {
  switch (step_) {
    case Step::Look:
      if (result == ERROR_FILE_NOT_FOUND) return Begin(Step::MoveIn);
      if (result != ERROR_SUCCESS) return KeepBeside(Placement::Refusal::Error, result);
      // One handed over after the name was decided.
      if (list_.isInput(mp3Path_)) return KeepBeside(Placement::Refusal::None);
      if (earlier_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return KeepBeside(Placement::Refusal::Folder);
      if (earlier_.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return KeepBeside(Placement::Refusal::ReadOnly);
      number_ = 1;
      return Begin(Step::StepAside);
    case Step::StepAside:
      if (result == ERROR_SUCCESS) {
        aside_ = target_;
        return Begin(Step::MoveIn);
      }
      if (IsTaken(result) && ++number_ < kNamesToTry) return Begin(Step::StepAside);
      return KeepBeside(Placement::Refusal::Error, result);
    case Step::MoveIn:
      if (result == ERROR_SUCCESS) {
        placement_.keptAt = mp3Path_;
        return Begin(aside_.empty() ? Step::None : Step::Recycle);
      }
      if (aside_.empty()) return KeepBeside(Placement::Refusal::Error, result);
      placement_.refusal = Placement::Refusal::Error;
      placement_.error = {result, SystemMessage(result)};
      return Begin(Step::MoveBack);
    case Step::MoveBack:
      if (result != ERROR_SUCCESS) placement_.earlierAt = aside_;
      return KeepBeside(placement_.refusal, placement_.error.code);
    case Step::KeepBeside:
      if (IsTaken(result) && ++number_ < kNamesToTry) return Begin(Step::KeepBeside);
      placement_.keptAt = result == ERROR_SUCCESS ? target_ : unfinishedPath_;
      // Under its unfinished name it is no MP3 the user would look for: that is a failure of its own.
      if (result != ERROR_SUCCESS && placement_.refusal == Placement::Refusal::None) {
        placement_.refusal = Placement::Refusal::Error;
        placement_.error = {result, SystemMessage(result)};
      }
      return Begin(Step::None);
    case Step::Recycle:
      if (result != ERROR_SUCCESS) {
        placement_.earlierAt = aside_;
        placement_.earlierError = {result, SystemMessage(result)};
      }
      return Begin(Step::None);
    case Step::Delete:
    case Step::None:
      return Begin(Step::None);
  }
}

void OutputFile::KeepBeside(Placement::Refusal refusal, DWORD error) {
  placement_.refusal = refusal;
  if (refusal == Placement::Refusal::Error) placement_.error = {error, SystemMessage(error)};
  number_ = 2;
  Begin(Step::KeepBeside);
}

DWORD OutputFile::MoveToUnclaimed(const std::wstring& from, const std::wstring& to) {
  return list_.claimed(to) ? ERROR_ALREADY_EXISTS : files_.Move(from, to, false);
}
