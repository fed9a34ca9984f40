#pragma once
#include <windows.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <functional>
#include <string>
#include <vector>

// The Windows shell as Quillet uses it: opening a folder or page, the Recycle Bin, the files of a
// drop. Shell32 loads on first use.

// Opens a folder or web page with the user's default handler; whether the shell could.
bool OpenWithShell(const std::wstring& target);

// Makes the shell's file operation; null where the system has none.
using MakeFileOperation = std::function<IFileOperation*()>;
IFileOperation* ShellFileOperation();

// Moves the file (a plain path) to its drive's Recycle Bin, or deletes it where it cannot go there (no
// Recycle Bin on the drive, or one turned off or too small for the file), asking nothing.
// `deletedForGood` is what the shell's file operation reports it did; where that operation cannot
// delete (Wine's) or cannot be had on this thread (one in the multithreaded apartment), the older
// SHFileOperation does the work, which reports nothing of the kind, and it is guessed from the drive
// type. Returns the Win32 error it met, 0 when it succeeded. Any thread may call it: it enters a
// single-threaded apartment of its own for the call.
DWORD RecycleWithShell(const std::wstring& plainPath, bool& deletedForGood,
                       const MakeFileOperation& make = ShellFileOperation);

// The full paths that a drop's file list (a DROPFILES block, as CF_HDROP carries it) names.
std::vector<std::wstring> PathsOfDrop(HDROP drop);

// A new file list of the paths, in movable global memory, as the shell makes one for a drop; null where
// there is no memory for it.
HGLOBAL NewDropFileList(const std::vector<std::wstring>& paths);

// The files of one drop on the window (WM_DROPFILES); the drop is finished when this goes.
class DroppedFiles {
 public:
  explicit DroppedFiles(HDROP drop);
  DroppedFiles(const DroppedFiles&) = delete;
  DroppedFiles& operator=(const DroppedFiles&) = delete;
  ~DroppedFiles() { finish_(drop_); }

  std::vector<std::wstring> Paths() const { return PathsOfDrop(drop_); }

 private:
  HDROP drop_;
  decltype(&DragFinish) finish_;
};
