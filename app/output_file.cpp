#include "app/output_file.h"

#include "app/paths.h"
#include "app/texts.h"
#include "runtime/runtime_error.h"
#include "runtime/rules/text.h"

namespace {

// Unfinished names tried before giving up, and numbered names tried for a kept MP3.
constexpr int kNamesToTry = 100;

// Why a file could not be replaced, in words for the status line.
std::wstring Why(DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return texts::kOpenElsewhere;
  const std::wstring words = Trimmed(SystemMessage(error), L". ");
  return words.empty() ? WithInserts(texts::kErrorNumber, {std::to_wstring(error)}) : words;
}

// Frees the MP3's name: a file there goes to the Recycle Bin, or (a path too long for the shell) is to
// be replaced by the move. "" when the name is free or may be replaced; else why not.
std::wstring MakeRoom(FileSystem& files, const std::wstring& mp3Path, bool& replaceInMove) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (files.Attributes(mp3Path, attributes) != ERROR_SUCCESS) return L"";
  if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return texts::kFolderOfThatName;
  if (attributes.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return texts::kReadOnly;
  // A file that another program holds open is not replaced, whatever the shell would make of it.
  UniqueFileHandle exclusive;
  if (const DWORD error = files.Open(mp3Path, DELETE, 0, OPEN_EXISTING, 0, exclusive)) return Why(error);
  exclusive.reset();
  if (mp3Path.size() >= MAX_PATH) {
    replaceInMove = true;
    return L"";
  }
  const DWORD error = files.Recycle(mp3Path);
  return error == ERROR_SUCCESS ? L"" : Why(error);
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
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return error;
  }
  return ERROR_FILE_EXISTS;
}

bool IsNonEmptyFile(FileSystem& files, const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  return files.Attributes(path, attributes) == ERROR_SUCCESS &&
         !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes.nFileSizeHigh != 0 || attributes.nFileSizeLow != 0);
}

Placement PutInPlace(FileSystem& files, const std::wstring& unfinishedPath, const std::wstring& mp3Path) {
  bool replace = false;
  std::wstring refusal = MakeRoom(files, mp3Path, replace);
  if (refusal.empty()) {
    const DWORD error = files.Move(unfinishedPath, mp3Path, replace);
    if (error == ERROR_SUCCESS) return {L"", mp3Path};
    refusal = Why(error);
  }
  for (int number = 2; number < kNamesToTry; ++number) {
    const std::wstring numbered = NumberedName(mp3Path, number);
    if (files.Move(unfinishedPath, numbered, false) == ERROR_SUCCESS) return {refusal, numbered};
  }
  return {refusal, unfinishedPath};
}

void DiscardUnfinished(FileSystem& files, const std::wstring& unfinishedPath) { files.Delete(unfinishedPath); }

std::wstring FolderForShell(FileSystem& files, const std::wstring& folder) {
  if (folder.size() < MAX_PATH) return folder;
  std::wstring shortened;
  return files.ShortPath(folder, shortened) == ERROR_SUCCESS && shortened.size() < MAX_PATH ? shortened : folder;
}
