#pragma once
#include <windows.h>

#include <string>

#include "runtime/handles.h"

// Who a file is, whatever path names it: its volume and its index there.
struct FileIdentity {
  DWORD volume = 0;
  ULONGLONG index = 0;
};

// The file calls that take a path, in one place. Callers name files by their full paths as users
// know them ("C:\Videos\clip.mp3", "\\server\share\clip.mp3"); here they become the form that
// Windows' file calls take at any length ("\\?\C:\..."), and stay plain for the shell. Each call
// returns its Win32 error code: ERROR_SUCCESS when it succeeded.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The path as users know it, whatever form it came in: made absolute against the current folder,
  // "." and ".." resolved, each "/" turned into a backslash, plain ("C:\a" also for "\\?\C:\a"), and
  // in the long names Explorer shows rather than the 8.3 names that "Send to" hands over
  // ("C:\MYVIDE~1\FIRSTV~1.AVI"). A path whose long form cannot be had (a file not there) keeps its names.
  std::wstring FullPath(const std::wstring& path);

  // CreateFileW.
  DWORD Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
             UniqueFileHandle& file);
  // GetFileAttributesExW.
  DWORD Attributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes);
  // The volume and index of the file or folder; needs no right to read it, so one open elsewhere answers.
  DWORD Identity(const std::wstring& path, FileIdentity& identity);
  // MoveFileExW, replacing an existing target only when asked.
  DWORD Move(const std::wstring& from, const std::wstring& to, bool replace);
  // DeleteFileW.
  DWORD Delete(const std::wstring& path);
  // Moves the file to its drive's Recycle Bin, or deletes it where it cannot go there (most USB sticks
  // and network shares have no Recycle Bin; a fixed drive's may be turned off or too small for it),
  // without asking anything, as Explorer's "Delete" does; `deletedForGood` says which, as the shell
  // reports it (see RecycleWithShell).
  DWORD Recycle(const std::wstring& path, bool& deletedForGood);
  // The path as the shell takes it: plain and shorter than MAX_PATH, in its 8.3 names where it is
  // longer and the volume has them; ERROR_FILENAME_EXCED_RANGE where it has no such form.
  DWORD ShellPath(const std::wstring& path, std::wstring& shellPath);

 protected:
  // The calls themselves, given each path as Windows gets it: in the extended-length form for the
  // file calls, as ShellPath gives it for the shell. A stand-in overrides them to behave as Windows
  // does where Wine does not.
  virtual DWORD CreateFileAt(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                             UniqueFileHandle& file) = 0;
  virtual DWORD AttributesAt(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) = 0;
  virtual DWORD IdentityAt(const std::wstring& path, FileIdentity& identity) = 0;
  virtual DWORD MoveAt(const std::wstring& from, const std::wstring& to, bool replace) = 0;
  virtual DWORD DeleteAt(const std::wstring& path) = 0;
  virtual DWORD RecycleAt(const std::wstring& shellPath, bool& deletedForGood) = 0;
  // GetShortPathNameW.
  virtual DWORD ShortPathAt(const std::wstring& path, std::wstring& shortPath) = 0;
  // GetLongPathNameW.
  virtual DWORD LongPathAt(const std::wstring& path, std::wstring& longPath) = 0;
};

class Win32FileSystem : public FileSystem {
 protected:
  DWORD CreateFileAt(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                     UniqueFileHandle& file) override;
  DWORD AttributesAt(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& attributes) override;
  DWORD IdentityAt(const std::wstring& path, FileIdentity& identity) override;
  DWORD MoveAt(const std::wstring& from, const std::wstring& to, bool replace) override;
  DWORD DeleteAt(const std::wstring& path) override;
  DWORD RecycleAt(const std::wstring& shellPath, bool& deletedForGood) override;
  DWORD ShortPathAt(const std::wstring& path, std::wstring& shortPath) override;
  DWORD LongPathAt(const std::wstring& path, std::wstring& longPath) override;
};
