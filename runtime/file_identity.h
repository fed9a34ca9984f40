#pragma once
#include <string>

#include "runtime/file_system.h"

// Which file a path names.

// The path made absolute against the current folder, "." and ".." resolved, each "/" turned into a
// backslash, and in its plain form ("C:\a" also for "\\?\C:\a"): the full path as users know it.
std::wstring FullPath(const std::wstring& path);

// Whether the two full paths name one file: by the file's identity (volume and index) where both
// exist and their drive knows it, otherwise by the paths compared without regard to letter case.
bool IsSameFile(FileSystem& files, const std::wstring& a, const std::wstring& b);
