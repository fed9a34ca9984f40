#pragma once
#include "runtime/file_system.h"

// Windows' file calls as they behave on Windows where the system's long-path setting is off, which
// Wine does not imitate: a path of MAX_PATH characters or more fails unless it is in the
// extended-length form ("\\?\..."), and the shell takes no path in that form at all.
class PathLimitedFileSystem : public FileSystem {
 public:
  UniqueFileHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) override;
  bool Attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) override;
  bool Move(const std::wstring& from, const std::wstring& to, bool replace) override;
  bool Delete(const std::wstring& path) override;
  bool Recycle(const std::wstring& path) override;
  std::wstring ShortPath(const std::wstring& path) override;

 private:
  Win32FileSystem windows_;
};
