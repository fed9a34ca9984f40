#pragma once
#include <string>

#include "runtime/file_system.h"

// Questions about files on disk. Paths are full paths in their ordinary form, as FullPath gives
// them; they reach the file system in the extended-length form, so that any length works.

// The path made absolute against the current folder, "." and ".." resolved and each "/" turned into
// a backslash.
std::wstring FullPath(const std::wstring& path);

// Whether the two paths name one file: by the file's identity (volume and index) where both exist,
// otherwise by their full paths compared without regard to letter case.
bool IsSameFile(FileSystem& files, const std::wstring& a, const std::wstring& b);

// Whether the path names a file that holds at least one byte.
bool IsNonEmptyFile(FileSystem& files, const std::wstring& path);

// Creates the file, empty, if no file or folder has its name yet; false when one has. Throws
// RuntimeError when it cannot be created for another reason (a folder that may not be written, say).
bool CreateNewFile(FileSystem& files, const std::wstring& path);
