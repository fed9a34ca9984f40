#pragma once
#include <optional>

#include "runtime/one_window.h"
#include "runtime/outside_world.h"
#include "runtime/taskbar_button.h"

// The real outside world: Windows' message box, open-file dialog, shell, sounds, files, processes and
// the other Quillets of the user.
class Win32OutsideWorld : public OutsideWorld {
 public:
  int MsgBox(HWND owner, const std::wstring& prompt, UINT style, const std::wstring& title) override;
  void ShowOpen(HWND owner, OpenFileRequest& request) override;
  bool ShellOpen(const std::wstring& target) override;
  void Beep(UINT soundType) override;
  void ShowTaskbarProgress(HWND window, TaskbarProgress state, double share) override;
  void TaskbarButtonCreated(HWND window) override { taskbarButton_.Renewed(window); }
  void AllowMessageFromBelow(HWND window, UINT message) override;
  FileSystem& Files() override { return files_; }
  std::unique_ptr<StartedProcess> StartHidden(const std::wstring& program, const std::wstring& commandLine,
                                              ProcessPriority priority) override;
  unsigned LogicalProcessors() override;
  void ServeFiles(std::function<bool(const std::vector<std::wstring>& files)> take) override;
  void StopServingFiles() override { oneWindow_.reset(); }

 private:
  TaskbarButton taskbarButton_;
  Win32FileSystem files_;
  std::optional<OneWindowClass> oneWindow_;
};
