#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "runtime/file_system.h"

// The MP3 of one conversion. The converter writes it under an unfinished name beside the MP3's own,
// and only a complete MP3 takes that name, so that a failure, a cancel or a close never leaves a
// truncated file that looks finished, nor harms a file that was there before. Paths are full ones.
//
// Virus scanners, sync and backup clients and the search indexer open a file for a moment just after
// it is written or renamed: every step on a file that Quillet made or replaces waits for such a file,
// a few seconds in all, before it calls the file busy.

// Creates the first free unfinished name for the MP3 (see UnfinishedName), empty, and sets
// `unfinishedPath` to it. Returns the Win32 error when the folder does not let Quillet create a file.
DWORD ReserveUnfinishedFile(FileSystem& files, const std::wstring& mp3Path, std::wstring& unfinishedPath);

// Whether the path names a file that holds at least one byte.
bool IsNonEmptyFile(FileSystem& files, const std::wstring& path);

// Where a complete MP3 went, and the one it was to replace.
struct Placement {
  std::wstring refusal{};  // "" when the new MP3 took its name; else why it could not
  std::wstring keptAt{};   // where the new MP3 is
  // Where the MP3 that had the name is, when it is neither under that name nor in the Recycle Bin
  // (nor deleted, on a drive that has none); else "".
  std::wstring earlierAt{};
  std::wstring earlierWhy{};  // why it could not go to the Recycle Bin, when the new MP3 took its name
  bool earlierDeleted = false;  // it was deleted for good: its drive has no Recycle Bin
};

// Puts the complete MP3 under its name. A file already there first steps aside ("clip (replaced).mp3"),
// the new MP3 takes the name, and only then does the earlier one go to the Recycle Bin, or is deleted
// where the drive has none: at no moment is neither under a name the user can find. One that cannot
// be replaced (read-only, kept open by another program, a folder) stays, and the new MP3 is kept
// beside it under a numbered name ("clip (2).mp3") or, failing that, its unfinished one. Neither the
// numbered name nor the one the earlier MP3 steps aside to is ever one that `claimed` says is taken.
Placement PutInPlace(FileSystem& files, const std::wstring& unfinishedPath, const std::wstring& mp3Path,
                     const std::function<bool(const std::wstring&)>& claimed);

// Removes an unfinished MP3. A failure goes unreported: nothing more could be done about it.
void DiscardUnfinished(FileSystem& files, const std::wstring& unfinishedPath);
