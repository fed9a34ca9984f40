#include "tests/support/path_limited_file_system.h"

namespace {

bool IsExtendedLength(const std::wstring& path) { return path.rfind(L"\\\\?\\", 0) == 0; }

// Whether Windows refuses the path for its length.
bool TooLong(const std::wstring& path) { return path.size() >= MAX_PATH && !IsExtendedLength(path); }

}  // namespace

DWORD PathLimitedFileSystem::CreateFileAt(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                          DWORD flags, UniqueFileHandle& file) {
  if (TooLong(path)) return ERROR_FILENAME_EXCED_RANGE;
  return Win32FileSystem::CreateFileAt(path, access, share, disposition, flags, file);
}

DWORD PathLimitedFileSystem::AttributesAt(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) {
  return TooLong(path) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::AttributesAt(path, attributes);
}

DWORD PathLimitedFileSystem::IdentityAt(const std::wstring& path, FileIdentity& identity) {
  return TooLong(path) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::IdentityAt(path, identity);
}

DWORD PathLimitedFileSystem::MoveAt(const std::wstring& from, const std::wstring& to, bool replace) {
  return TooLong(from) || TooLong(to) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::MoveAt(from, to, replace);
}

DWORD PathLimitedFileSystem::DeleteAt(const std::wstring& path) {
  return TooLong(path) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::DeleteAt(path);
}

DWORD PathLimitedFileSystem::RecycleAt(const std::wstring& plainPath) {
  if (IsExtendedLength(plainPath)) return ERROR_INVALID_NAME;
  return TooLong(plainPath) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::RecycleAt(plainPath);
}

DWORD PathLimitedFileSystem::ShortPathAt(const std::wstring& path, std::wstring& shortPath) {
  return TooLong(path) ? ERROR_FILENAME_EXCED_RANGE : Win32FileSystem::ShortPathAt(path, shortPath);
}
