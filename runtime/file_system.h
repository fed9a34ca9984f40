#pragma once
#include <windows.h>

#include <string>

#include "runtime/handles.h"

// The file calls that take a path, in one place: the program uses Windows' own, and tests can stand
// in a file system that refuses what Windows refuses. Each reports failure as its Win32 call does,
// with the reason in GetLastError.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // CreateFileW.
  virtual UniqueFileHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                DWORD flags) = 0;
  // GetFileAttributesExW.
  virtual bool Attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) = 0;
  // MoveFileExW, replacing an existing target only when asked.
  virtual bool Move(const std::wstring& from, const std::wstring& to, bool replace) = 0;
  // DeleteFileW.
  virtual bool Delete(const std::wstring& path) = 0;
  // Moves the file to its drive's Recycle Bin, or deletes it where the drive has none, without asking
  // anything, as Explorer's "Delete" does. The shell takes only ordinary paths shorter than MAX_PATH.
  virtual bool Recycle(const std::wstring& path) = 0;
  // GetShortPathNameW: the path in 8.3 names where the volume has them; "" when it cannot.
  virtual std::wstring ShortPath(const std::wstring& path) = 0;
};

class Win32FileSystem : public FileSystem {
 public:
  UniqueFileHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) override;
  bool Attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) override;
  bool Move(const std::wstring& from, const std::wstring& to, bool replace) override;
  bool Delete(const std::wstring& path) override;
  bool Recycle(const std::wstring& path) override;
  std::wstring ShortPath(const std::wstring& path) override;
};
