#include "tests/support/windows_like_file_system.h"

#include "runtime/rules/path_text.h"

namespace {

bool IsExtendedLength(const std::wstring& path) { return path.rfind(L"\\\\?\\", 0) == 0; }

// Whether Windows refuses the path for its length.
bool TooLong(const std::wstring& path) { return path.size() >= MAX_PATH && !IsExtendedLength(path); }

}  // namespace

DWORD WindowsLikeFileSystem::CreateFileAt(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                          DWORD flags, UniqueFileHandle& file) {
  WaitWhileStalled();
  if (TooLong(path)) return ERROR_FILENAME_EXCED_RANGE;
  return Win32FileSystem::CreateFileAt(path, access, share, disposition, flags, file);
}

DWORD WindowsLikeFileSystem::AttributesAt(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) {
  WaitWhileStalled();
  return TooLong(path) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::AttributesAt(path, attributes);
}

DWORD WindowsLikeFileSystem::IdentityAt(const std::wstring& path, FileIdentity& identity) {
  WaitWhileStalled();
  const DWORD error = TooLong(path) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::IdentityAt(path, identity);
  if (!fileIds) identity.index = 0;
  return error;
}

DWORD WindowsLikeFileSystem::MoveAt(const std::wstring& from, const std::wstring& to, bool replace) {
  WaitWhileStalled();
  if (TooLong(from) || TooLong(to)) return ERROR_FILENAME_EXCED_RANGE;
  if (const DWORD answer = beforeMove ? beforeMove(PlainPath(from), PlainPath(to)) : 0) return answer;
  return Win32FileSystem::MoveAt(from, to, replace);
}

DWORD WindowsLikeFileSystem::DeleteAt(const std::wstring& path) {
  WaitWhileStalled();
  return TooLong(path) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::DeleteAt(path);
}

DWORD WindowsLikeFileSystem::RecycleAt(const std::wstring& shellPath, bool& deletedForGood) {
  WaitWhileStalled();
  if (IsExtendedLength(shellPath)) return ERROR_INVALID_NAME;
  if (TooLong(shellPath)) return ERROR_FILENAME_EXCED_RANGE;
  if (recycleBin) return Win32FileSystem::RecycleAt(shellPath, deletedForGood);
  // As the shell does on a drive without a Recycle Bin, asking nothing.
  deletedForGood = true;
  return DeleteFileW(shellPath.c_str()) ? ERROR_SUCCESS : GetLastError();
}

DWORD WindowsLikeFileSystem::ShortPathAt(const std::wstring& path, std::wstring& shortPath) {
  WaitWhileStalled();
  if (TooLong(path)) return ERROR_FILENAME_EXCED_RANGE;
  if (shortNames) return Win32FileSystem::ShortPathAt(path, shortPath);
  // Without 8.3 names, Windows gives the path back as it is.
  shortPath = path;
  return ERROR_SUCCESS;
}

DWORD WindowsLikeFileSystem::LongPathAt(const std::wstring& path, std::wstring& longPath) {
  WaitWhileStalled();
  if (TooLong(path)) return ERROR_FILENAME_EXCED_RANGE;
  if (!IsExtendedLength(path)) return Win32FileSystem::LongPathAt(path, longPath);
  // Windows reads 8.3 names in this form too; Wine only in the plain one, which it takes at any length.
  const DWORD error = Win32FileSystem::LongPathAt(PlainPath(path), longPath);
  if (error == ERROR_SUCCESS) longPath = ExtendedLengthPath(longPath);
  return error;
}
