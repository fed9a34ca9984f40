#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/file_system.h"

// The outside world as the program meets it: everything here is real in the program and can be
// stood in for in tests.

// A program started hidden, watched until it ends.
class StartedProcess {
 public:
  virtual ~StartedProcess() = default;
  virtual DWORD Id() const = 0;
  virtual bool IsRunning() = 0;
  // Waits at most this long for the process to end; whether it has.
  virtual bool WaitUntilEnded(DWORD milliseconds) = 0;
  // Starts ending it, if it still runs.
  virtual void Terminate() = 0;
  // Gives it less of the processors than the user's own programs (below the usual priority).
  virtual void LowerPriority() = 0;
  // Valid once the process has ended.
  virtual DWORD ExitCode() = 0;
  // The bytes the process has written to its error stream since the last call.
  virtual std::string ReadNewErrorOutput() = 0;
};

// How much of the processors a started program gets beside the user's own.
enum class ProcessPriority { Normal, BelowNormal };

// What the window's taskbar button shows of a conversion.
enum class TaskbarProgress { None, Indeterminate, Normal, Error };

// What the open-file dialog is asked to show and, afterwards, what the user chose.
struct OpenFileRequest {
  DWORD flags = 0;
  std::wstring title;
  std::wstring filter;      // description|patterns|description|patterns
  DWORD maxFileSize = 260;     // characters the answer may take
  std::wstring initialFolder;  // where the dialog opens when the name to start with names no folder
  std::wstring fileName;       // in: the name to start with; out: the choice, or "" when there is none
  DWORD error = 0;             // out: why there is no choice (CommDlgExtendedError); 0 for Cancel
};

class OutsideWorld {
 public:
  virtual ~OutsideWorld() = default;

  // A modal message box; returns the button pressed.
  virtual int MsgBox(HWND owner, const std::wstring& prompt, UINT style, const std::wstring& title) = 0;
  // The modal open-file dialog. Cancelling is no error.
  virtual void ShowOpen(HWND owner, OpenFileRequest& request) = 0;
  // Opens a folder or web page with the user's default handler; whether it could.
  virtual bool ShellOpen(const std::wstring& target) = 0;
  // One of the system's sounds, named by a MessageBeep type.
  virtual void Beep(UINT soundType) = 0;
  // Shows progress on the window's taskbar button; `share` (0 to 1) counts for Normal only. Without
  // a taskbar, nothing happens.
  virtual void ShowTaskbarProgress(HWND window, TaskbarProgress state, double share) = 0;
  // The shell has made the window's taskbar button anew, showing no progress: it is shown again what
  // it showed.
  virtual void TaskbarButtonCreated(HWND window) = 0;
  // Lets the message reach the window from programs of a lower integrity level (Explorer, where
  // Quillet was started elevated), which Windows holds back unless told.
  virtual void AllowMessageFromBelow(HWND window, UINT message) = 0;
  // The file calls that take a path.
  virtual FileSystem& Files() = 0;
  // Starts the program with the command line, at the priority and with no window; throws
  // RuntimeError when it cannot.
  virtual std::unique_ptr<StartedProcess> StartHidden(const std::wstring& program, const std::wstring& commandLine,
                                                      ProcessPriority priority) = 0;
  // How many programs can run at once, each on a logical processor of its own.
  virtual unsigned LogicalProcessors() = 0;
  // From now on the window is the one window of the user's session (see runtime/one_window.h): the files
  // dropped on it by Explorer's verb or by other Quillets go to `take`, on the window's thread, which
  // answers whether the window has them in its list.
  virtual void ServeFiles(std::function<bool(const std::vector<std::wstring>& files)> take) = 0;
  // Takes no more files: the next drop reaches another Quillet.
  virtual void StopServingFiles() = 0;
};
