#include "app/output_file.h"

#include "app/paths.h"
#include "app/texts.h"
#include "runtime/runtime_error.h"
#include "runtime/rules/text.h"

namespace {

// Unfinished, aside and numbered names tried before giving up.
constexpr int kNamesToTry = 100;
// Between the tries of a file call on a busy file; 3.55 seconds in all.
constexpr DWORD kBusyWaits[] = {50, 100, 200, 400, 800, 1000, 1000};

// Whether another program has the file open without sharing it, or is removing it: Windows answers a
// file that is being scanned or is pending deletion with "access denied".
bool IsBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool IsTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

// Makes the file call, and again while the file is busy, waiting a little longer each time.
template <typename Call>
DWORD Patiently(Call call) {
  DWORD error = call();
  for (const DWORD wait : kBusyWaits) {
    if (!IsBusy(error)) break;
    Sleep(wait);
    error = call();
  }
  return error;
}

// Why a file could not be replaced, in words for the status line.
std::wstring Why(DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return texts::kOpenElsewhere;
  const std::wstring words = Trimmed(SystemMessage(error), L". ");
  return words.empty() ? WithInserts(texts::kErrorNumber, {std::to_wstring(error)}) : words;
}

using Claimed = std::function<bool(const std::wstring&)>;

// Moves the file to the first free name, not claimed, that `nameFor` gives for 1, 2, ...; sets
// `movedTo` to it.
template <typename NameFor>
DWORD MoveToFreeName(FileSystem& files, const std::wstring& from, NameFor nameFor, const Claimed& claimed,
                     std::wstring& movedTo) {
  DWORD error = ERROR_ALREADY_EXISTS;
  for (int number = 1; number < kNamesToTry && IsTaken(error); ++number) {
    movedTo = nameFor(number);
    if (!claimed(movedTo)) error = Patiently([&] { return files.Move(from, movedTo, false); });
  }
  return error;
}

// Keeps the new MP3 beside the name it could not take: under the first free numbered name, or where it
// cannot be moved at all, under its unfinished one.
Placement KeptBeside(FileSystem& files, const std::wstring& unfinishedPath, const std::wstring& mp3Path,
                     const Claimed& claimed, std::wstring refusal) {
  std::wstring numbered;
  const auto numberedName = [&](int number) { return TaggedName(mp3Path, std::to_wstring(number + 1)); };
  const bool moved = MoveToFreeName(files, unfinishedPath, numberedName, claimed, numbered) == ERROR_SUCCESS;
  return {std::move(refusal), moved ? numbered : unfinishedPath};
}

// The earlier MP3 steps aside, the new one takes the name, and only then does the earlier one go.
Placement Replace(FileSystem& files, const std::wstring& unfinishedPath, const std::wstring& mp3Path,
                  const Claimed& claimed) {
  std::wstring aside;
  const auto asideName = [&](int number) {
    return TaggedName(mp3Path, texts::kReplacedTag + (number == 1 ? L"" : L" " + std::to_wstring(number)));
  };
  DWORD error = MoveToFreeName(files, mp3Path, asideName, claimed, aside);
  if (error != ERROR_SUCCESS) return KeptBeside(files, unfinishedPath, mp3Path, claimed, Why(error));
  error = Patiently([&] { return files.Move(unfinishedPath, mp3Path, false); });
  if (error != ERROR_SUCCESS) {
    const bool back = Patiently([&] { return files.Move(aside, mp3Path, false); }) == ERROR_SUCCESS;
    Placement kept = KeptBeside(files, unfinishedPath, mp3Path, claimed, Why(error));
    if (!back) kept.earlierAt = aside;
    return kept;
  }
  bool deletedForGood = false;
  error = Patiently([&] { return files.Recycle(aside, deletedForGood); });
  if (error != ERROR_SUCCESS) return {L"", mp3Path, aside, Why(error)};
  return {L"", mp3Path, L"", L"", deletedForGood};
}

}  // namespace

DWORD ReserveUnfinishedFile(FileSystem& files, const std::wstring& mp3Path, std::wstring& unfinishedPath) {
  for (int attempt = 0; attempt < kNamesToTry; ++attempt) {
    const std::wstring candidate = UnfinishedName(mp3Path, attempt);
    UniqueFileHandle created;
    const DWORD error =
        files.Open(candidate, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, created);
    if (error == ERROR_SUCCESS) {
      unfinishedPath = candidate;
      return ERROR_SUCCESS;
    }
    if (!IsTaken(error)) return error;
  }
  return ERROR_FILE_EXISTS;
}

bool IsNonEmptyFile(FileSystem& files, const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  return files.Attributes(path, attributes) == ERROR_SUCCESS &&
         !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes.nFileSizeHigh != 0 || attributes.nFileSizeLow != 0);
}

Placement PutInPlace(FileSystem& files, const std::wstring& unfinishedPath, const std::wstring& mp3Path,
                     const Claimed& claimed) {
  // Asking what has the name opens nothing, so a reader of the earlier MP3 is no reason to keep both.
  WIN32_FILE_ATTRIBUTE_DATA earlier;
  const DWORD look = Patiently([&] { return files.Attributes(mp3Path, earlier); });
  if (look == ERROR_FILE_NOT_FOUND) {
    const DWORD error = Patiently([&] { return files.Move(unfinishedPath, mp3Path, false); });
    return error == ERROR_SUCCESS ? Placement{L"", mp3Path}
                                  : KeptBeside(files, unfinishedPath, mp3Path, claimed, Why(error));
  }
  if (look != ERROR_SUCCESS) return KeptBeside(files, unfinishedPath, mp3Path, claimed, Why(look));
  if (earlier.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    return KeptBeside(files, unfinishedPath, mp3Path, claimed, texts::kFolderOfThatName);
  }
  if (earlier.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
    return KeptBeside(files, unfinishedPath, mp3Path, claimed, texts::kReadOnly);
  }
  return Replace(files, unfinishedPath, mp3Path, claimed);
}

void DiscardUnfinished(FileSystem& files, const std::wstring& unfinishedPath) {
  Patiently([&] { return files.Delete(unfinishedPath); });
}
