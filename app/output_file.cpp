#include "app/output_file.h"

#include "app/paths.h"
#include "runtime/files.h"
#include "runtime/path_text.h"
#include "runtime/runtime_error.h"

namespace {

// Unfinished names tried before giving up, and numbered names tried for a kept MP3.
constexpr int kNamesToTry = 100;

// Why a file could not be replaced, in words for the status line.
std::wstring Why(DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return L"it is open in another program";
  std::wstring words = SystemMessage(error);
  while (!words.empty() && (words.back() == L'.' || words.back() == L' ')) words.pop_back();
  return words.empty() ? L"error " + std::to_wstring(error) : words;
}

// Frees the MP3's name: a file there goes to the Recycle Bin, or (a path too long for the shell) is to
// be replaced by the move. "" when the name is free or may be replaced; else why not.
std::wstring MakeRoom(FileSystem& files, const std::wstring& mp3Path, bool& replaceInMove) {
  const std::wstring target = ExtendedLengthPath(mp3Path);
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!files.Attributes(target, attributes)) return L"";
  if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return L"a folder has that name";
  if (attributes.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return L"it is read-only";
  // A file that another program holds open is not replaced, whatever the shell would make of it.
  if (!files.Open(target, DELETE, 0, OPEN_EXISTING, 0)) return Why(GetLastError());
  const std::wstring plain = PlainPath(mp3Path);
  if (plain.size() >= MAX_PATH) {
    replaceInMove = true;
    return L"";
  }
  return files.Recycle(plain) ? L"" : Why(GetLastError());
}

}  // namespace

std::wstring ReserveUnfinishedFile(FileSystem& files, const std::wstring& mp3Path) {
  for (int attempt = 0; attempt < kNamesToTry; ++attempt) {
    const std::wstring candidate = UnfinishedName(mp3Path, attempt);
    if (CreateNewFile(files, candidate)) return candidate;
  }
  SetLastError(ERROR_FILE_EXISTS);
  throw LastWin32Error(L"Cannot find a free name beside " + mp3Path);
}

Placement PutInPlace(FileSystem& files, const std::wstring& unfinishedPath, const std::wstring& mp3Path) {
  const std::wstring unfinished = ExtendedLengthPath(unfinishedPath);
  bool replace = false;
  std::wstring refusal = MakeRoom(files, mp3Path, replace);
  if (refusal.empty()) {
    if (files.Move(unfinished, ExtendedLengthPath(mp3Path), replace)) return {L"", mp3Path};
    refusal = Why(GetLastError());
  }
  for (int number = 2; number < kNamesToTry; ++number) {
    const std::wstring numbered = NumberedName(mp3Path, number);
    if (files.Move(unfinished, ExtendedLengthPath(numbered), false)) return {refusal, numbered};
  }
  return {refusal, unfinishedPath};
}

void DiscardUnfinished(FileSystem& files, const std::wstring& unfinishedPath) {
  files.Delete(ExtendedLengthPath(unfinishedPath));
}

std::wstring FolderForShell(FileSystem& files, const std::wstring& folder) {
  const std::wstring plain = PlainPath(folder);
  if (plain.size() < MAX_PATH) return plain;
  const std::wstring shortened = PlainPath(files.ShortPath(ExtendedLengthPath(folder)));
  return !shortened.empty() && shortened.size() < MAX_PATH ? shortened : plain;
}
