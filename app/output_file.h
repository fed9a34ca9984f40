#pragma once
#include <windows.h>

#include <string>

#include "runtime/file_system.h"

// The MP3 of one conversion. The converter writes it under an unfinished name beside the MP3's own,
// and only a complete MP3 takes that name, so that a failure, a cancel or a close never leaves a
// truncated file that looks finished, nor harms a file that was there before. Paths are full ones.

// Creates the first free unfinished name for the MP3 (see UnfinishedName), empty, and sets
// `unfinishedPath` to it. Returns the Win32 error when the folder does not let Quillet create a file.
DWORD ReserveUnfinishedFile(FileSystem& files, const std::wstring& mp3Path, std::wstring& unfinishedPath);

// Whether the path names a file that holds at least one byte.
bool IsNonEmptyFile(FileSystem& files, const std::wstring& path);

// Where a complete MP3 went.
struct Placement {
  std::wstring refusal;  // "" when it took its name; else why the file under that name was kept
  std::wstring keptAt;   // where the MP3 is now
};

// Puts the complete MP3 under its name. A file already there goes to the Recycle Bin where its drive
// has one (a path too long for the shell is replaced instead, as the converter's -y always did).
// One that cannot be replaced (read-only, open in another program, a folder) stays untouched, and the
// MP3 is kept beside it under a numbered name ("clip (2).mp3") or, failing that, its unfinished one.
Placement PutInPlace(FileSystem& files, const std::wstring& unfinishedPath, const std::wstring& mp3Path);

// Removes an unfinished MP3. A failure goes unreported: nothing more could be done about it.
void DiscardUnfinished(FileSystem& files, const std::wstring& unfinishedPath);

// The folder in a form the shell can open: as it is, or in its short form where it is too long.
std::wstring FolderForShell(FileSystem& files, const std::wstring& folder);
