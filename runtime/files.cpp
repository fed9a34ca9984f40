#include "runtime/files.h"

#include <windows.h>

#include <optional>

#include "runtime/path_text.h"
#include "runtime/runtime_error.h"

namespace {

struct FileIdentity {
  DWORD volume;
  DWORD indexHigh;
  DWORD indexLow;
};

std::optional<FileIdentity> IdentityOf(FileSystem& files, const std::wstring& path) {
  // No access rights are needed to ask who a file is, so a file open elsewhere still answers.
  const UniqueFileHandle file =
      files.Open(ExtendedLengthPath(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                 FILE_FLAG_BACKUP_SEMANTICS);
  BY_HANDLE_FILE_INFORMATION information;
  if (!file || !GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
  return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

}  // namespace

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  full.resize(GetFullPathNameW(path.c_str(), needed, &full[0], nullptr));
  return full;
}

bool IsSameFile(FileSystem& files, const std::wstring& a, const std::wstring& b) {
  const auto identityA = IdentityOf(files, a);
  const auto identityB = IdentityOf(files, b);
  if (identityA && identityB) {
    return identityA->volume == identityB->volume && identityA->indexHigh == identityB->indexHigh &&
           identityA->indexLow == identityB->indexLow;
  }
  const std::wstring fullA = FullPath(a);
  const std::wstring fullB = FullPath(b);
  return CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                              static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL;
}

bool IsNonEmptyFile(FileSystem& files, const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  return files.Attributes(ExtendedLengthPath(path), attributes) &&
         !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes.nFileSizeHigh != 0 || attributes.nFileSizeLow != 0);
}

bool CreateNewFile(FileSystem& files, const std::wstring& path) {
  if (files.Open(ExtendedLengthPath(path), GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL)) {
    return true;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return false;
  throw LastWin32Error(L"Cannot create " + path);
}
