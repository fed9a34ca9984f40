#include "runtime/files.h"

#include <windows.h>

#include <optional>

#include "runtime/handles.h"

namespace {

struct FileIdentity {
  DWORD volume;
  DWORD indexHigh;
  DWORD indexLow;
};

std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
  // No access rights are needed to ask who a file is, so a file open elsewhere still answers.
  const UniqueFileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
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

bool IsSameFile(const std::wstring& a, const std::wstring& b) {
  const auto identityA = IdentityOf(a);
  const auto identityB = IdentityOf(b);
  if (identityA && identityB) {
    return identityA->volume == identityB->volume && identityA->indexHigh == identityB->indexHigh &&
           identityA->indexLow == identityB->indexLow;
  }
  const std::wstring fullA = FullPath(a);
  const std::wstring fullB = FullPath(b);
  return CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                              static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL;
}

bool IsNonEmptyFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) &&
         !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes.nFileSizeHigh != 0 || attributes.nFileSizeLow != 0);
}
