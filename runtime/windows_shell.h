#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The Windows shell as Quillet uses it: opening a folder or page, the Recycle Bin, the files of a
// drop, and the COM apartment that the shell's objects need. Shell32 and ole32 load on first use.

// Enters the single-threaded apartment that the shell's objects expect, once, on first need.
void EnterShellApartment();

// Opens a folder or web page with the user's default handler; whether the shell could.
bool OpenWithShell(const std::wstring& target);

// Moves the file (a plain path) to its drive's Recycle Bin, or deletes it where the drive has none,
// asking nothing. Returns the Win32 error it met, 0 when it succeeded.
DWORD RecycleWithShell(const std::wstring& plainPath);

// The files of one drop from the shell; the drop is finished when this goes.
class DroppedFiles {
 public:
  explicit DroppedFiles(HDROP drop);
  DroppedFiles(const DroppedFiles&) = delete;
  DroppedFiles& operator=(const DroppedFiles&) = delete;
  ~DroppedFiles() { finish_(drop_); }

  // The full paths of the dropped files.
  std::vector<std::wstring> Paths() const;

 private:
  HDROP drop_;
  decltype(&DragQueryFileW) query_;
  decltype(&DragFinish) finish_;
};
