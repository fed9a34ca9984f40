#include "runtime/file_system.h"

#include <shellapi.h>

#include "runtime/later_loaded.h"

UniqueFileHandle Win32FileSystem::Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                       DWORD flags) {
  return UniqueFileHandle(CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

bool Win32FileSystem::Attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) {
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) != FALSE;
}

bool Win32FileSystem::Move(const std::wstring& from, const std::wstring& to, bool replace) {
  return MoveFileExW(from.c_str(), to.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0) != FALSE;
}

bool Win32FileSystem::Delete(const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }

bool Win32FileSystem::Recycle(const std::wstring& path) {
  // The shell wants a list of paths, each ended by a NUL, and one more NUL.
  const std::wstring from = path + L'\0';
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NO_UI;
  static const auto fileOperation = LaterLoaded<decltype(&SHFileOperationW)>(L"shell32.dll", "SHFileOperationW");
  const int result = fileOperation(&operation);
  if (result == 0 && !operation.fAnyOperationsAborted) return true;
  SetLastError(result != 0 ? static_cast<DWORD>(result) : ERROR_CANCELLED);
  return false;
}

std::wstring Win32FileSystem::ShortPath(const std::wstring& path) {
  std::wstring shortPath(GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
  if (shortPath.empty()) return L"";
  shortPath.resize(GetShortPathNameW(path.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size())));
  return shortPath;
}
