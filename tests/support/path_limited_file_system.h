#pragma once
#include "runtime/file_system.h"

// Windows' file calls as they behave on Windows where the system's long-path setting is off, which
// Wine does not imitate: a path of MAX_PATH characters or more fails unless it is in the
// extended-length form ("\\?\..."), and the shell takes no path in that form at all.
class PathLimitedFileSystem : public Win32FileSystem {
 protected:
  DWORD CreateFileAt(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                     UniqueFileHandle& file) override;
  DWORD AttributesAt(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) override;
  DWORD IdentityAt(const std::wstring& path, FileIdentity& identity) override;
  DWORD MoveAt(const std::wstring& from, const std::wstring& to, bool replace) override;
  DWORD DeleteAt(const std::wstring& path) override;
  DWORD RecycleAt(const std::wstring& plainPath) override;
  DWORD ShortPathAt(const std::wstring& path, std::wstring& shortPath) override;
};
