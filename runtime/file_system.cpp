#include "runtime/file_system.h"

#include "runtime/rules/path_text.h"
#include "runtime/windows_shell.h"

namespace {

DWORD Result(BOOL succeeded) { return succeeded ? ERROR_SUCCESS : GetLastError(); }

// A path-rewriting call of the kind that takes a buffer and says how long it must be.
template <typename Call>
DWORD Rewritten(Call call, std::wstring& result) {
  result.assign(call(nullptr, 0), L'\0');
  if (result.empty()) return GetLastError();
  const DWORD length = call(&result[0], static_cast<DWORD>(result.size()));
  if (length == 0) return GetLastError();
  if (length >= result.size()) return ERROR_INSUFFICIENT_BUFFER;
  result.resize(length);
  return ERROR_SUCCESS;
}

}  // namespace

std::wstring FileSystem::FullPath(const std::wstring& path) {
  const std::wstring plain = PlainPath(path);
  std::wstring full;
  if (Rewritten([&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(plain.c_str(), size, buffer, nullptr); },
                full) != ERROR_SUCCESS) {
    full = plain;
  }
  // Windows reads 8.3 names in either form; Wine only in the plain one, which Windows takes below MAX_PATH.
  std::wstring longPath;
  const DWORD error = LongPathAt(full.size() < MAX_PATH ? full : ExtendedLengthPath(full), longPath);
  return error == ERROR_SUCCESS ? PlainPath(longPath) : full;
}

DWORD FileSystem::Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                       UniqueFileHandle& file) {
  return CreateFileAt(ExtendedLengthPath(path), access, share, disposition, flags, file);
}

DWORD FileSystem::Attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) {
  return AttributesAt(ExtendedLengthPath(path), attributes);
}

DWORD FileSystem::Identity(const std::wstring& path, FileIdentity& identity) {
  return IdentityAt(ExtendedLengthPath(path), identity);
}

DWORD FileSystem::Move(const std::wstring& from, const std::wstring& to, bool replace) {
  return MoveAt(ExtendedLengthPath(from), ExtendedLengthPath(to), replace);
}

DWORD FileSystem::Delete(const std::wstring& path) { return DeleteAt(ExtendedLengthPath(path)); }

DWORD FileSystem::Recycle(const std::wstring& path, bool& deletedForGood) {
  std::wstring shellPath;
  const DWORD error = ShellPath(path, shellPath);
  return error == ERROR_SUCCESS ? RecycleAt(shellPath, deletedForGood) : error;
}

DWORD FileSystem::ShellPath(const std::wstring& path, std::wstring& shellPath) {
  shellPath = PlainPath(path);
  if (shellPath.size() < MAX_PATH) return ERROR_SUCCESS;
  // A volume without 8.3 names gives the long path back.
  std::wstring shortPath;
  if (ShortPathAt(ExtendedLengthPath(path), shortPath) == ERROR_SUCCESS) shellPath = PlainPath(shortPath);
  return shellPath.size() < MAX_PATH ? ERROR_SUCCESS : ERROR_FILENAME_EXCED_RANGE;
}

DWORD Win32FileSystem::CreateFileAt(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                                    UniqueFileHandle& file) {
  file.reset(CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
  return file ? ERROR_SUCCESS : GetLastError();
}

DWORD Win32FileSystem::AttributesAt(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) {
  return Result(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes));
}

DWORD Win32FileSystem::IdentityAt(const std::wstring& path, FileIdentity& identity) {
  UniqueFileHandle file;
  const DWORD error = CreateFileAt(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, file);
  if (error != ERROR_SUCCESS) return error;
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file.get(), &information)) return GetLastError();
  identity.volume = information.dwVolumeSerialNumber;
  identity.index = (static_cast<ULONGLONG>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
  return ERROR_SUCCESS;
}

DWORD Win32FileSystem::MoveAt(const std::wstring& from, const std::wstring& to, bool replace) {
  return Result(MoveFileExW(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0));
}

DWORD Win32FileSystem::DeleteAt(const std::wstring& path) { return Result(DeleteFileW(path.c_str())); }

DWORD Win32FileSystem::RecycleAt(const std::wstring& shellPath, bool& deletedForGood) {
  return RecycleWithShell(shellPath, deletedForGood);
}

DWORD Win32FileSystem::ShortPathAt(const std::wstring& path, std::wstring& shortPath) {
  return Rewritten([&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(path.c_str(), buffer, size); },
                   shortPath);
}

DWORD Win32FileSystem::LongPathAt(const std::wstring& path, std::wstring& longPath) {
  return Rewritten([&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(path.c_str(), buffer, size); },
                   longPath);
}
