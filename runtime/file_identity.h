#pragma once
#include <optional>
#include <string>

#include "runtime/file_system.h"

// Which file a path names.

// A file as a full path names it, with its identity where it exists and its drive knows one.
struct NamedFile {
  std::wstring fullPath;
  std::optional<FileIdentity> identity;
};
NamedFile Named(FileSystem& files, const std::wstring& fullPath);

// Whether the two full paths are one, letter case aside.
bool IsSamePath(const std::wstring& a, const std::wstring& b);

// Whether the two name one file: by the file's identity (volume and index) where both have one,
// otherwise by the paths compared without regard to letter case.
bool IsSameFile(const NamedFile& a, const NamedFile& b);
bool IsSameFile(FileSystem& files, const std::wstring& a, const std::wstring& b);
