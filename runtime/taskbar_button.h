#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <memory>

#include "runtime/outside_world.h"

// The window's button on the taskbar, showing progress through the shell's ITaskbarList3. Made on
// first use; where the shell offers no taskbar, it stays silent. What it already shows is not sent
// again.
class TaskbarButton {
 public:
  void Show(HWND window, TaskbarProgress state, double share);
  // The button was made anew: what it showed is gone, so the next Show is sent whatever it shows.
  void Forget() { shownWindow_ = nullptr; }

 private:
  struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
  };
  std::unique_ptr<ITaskbarList3, Release> taskbar_;
  bool tried_ = false;
  HWND shownWindow_ = nullptr;
  TaskbarProgress shownState_ = TaskbarProgress::None;
  ULONGLONG shownValue_ = 0;
};
