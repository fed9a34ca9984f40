#include "tests/system/path_limited_file_system.h"

namespace {

bool IsExtendedLength(const std::wstring& path) { return path.rfind(L"\\\\?\\", 0) == 0; }

// Whether Windows refuses the path for its length; sets the error it gives.
bool TooLong(const std::wstring& path) {
  if (path.size() < MAX_PATH || IsExtendedLength(path)) return false;
  SetLastError(ERROR_FILENAME_EXCED_RANGE);
  return true;
}

}  // namespace

UniqueFileHandle PathLimitedFileSystem::Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                             DWORD flags) {
  return TooLong(path) ? UniqueFileHandle() : windows_.Open(path, access, share, disposition, flags);
}

bool PathLimitedFileSystem::Attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) {
  return !TooLong(path) && windows_.Attributes(path, attributes);
}

bool PathLimitedFileSystem::Move(const std::wstring& from, const std::wstring& to, bool replace) {
  return !TooLong(from) && !TooLong(to) && windows_.Move(from, to, replace);
}

bool PathLimitedFileSystem::Delete(const std::wstring& path) { return !TooLong(path) && windows_.Delete(path); }

bool PathLimitedFileSystem::Recycle(const std::wstring& path) {
  if (IsExtendedLength(path)) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  return !TooLong(path) && windows_.Recycle(path);
}

std::wstring PathLimitedFileSystem::ShortPath(const std::wstring& path) {
  return TooLong(path) ? L"" : windows_.ShortPath(path);
}
