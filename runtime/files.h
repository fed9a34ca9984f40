#pragma once
#include <string>

// Questions about files on disk.

// Whether the two paths name one file: by the file's identity (volume and index) where both exist,
// otherwise by their full paths compared without regard to letter case.
bool IsSameFile(const std::wstring& a, const std::wstring& b);

// The path made absolute against the current folder, each "/" turned into a backslash.
std::wstring FullPath(const std::wstring& path);

// Whether the path names a file that holds at least one byte.
bool IsNonEmptyFile(const std::wstring& path);
