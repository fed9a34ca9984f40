#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <functional>
#include <memory>

#include "runtime/outside_world.h"

// The window's button on the taskbar, showing progress through the shell's ITaskbarList3, made on
// first use; where the shell offers no taskbar, it stays silent. What it shows is not sent again,
// unless the shell makes the button anew.
class TaskbarButton {
 public:
  // Makes the shell's taskbar list, ready for use; null where there is none.
  using MakeTaskbarList = std::function<ITaskbarList3*()>;
  static ITaskbarList3* ShellTaskbarList();

  explicit TaskbarButton(MakeTaskbarList make = ShellTaskbarList) : make_(std::move(make)) {}
  void Show(HWND window, TaskbarProgress state, double share);
  // The shell has made the window's button anew (its first, or after Explorer restarted), showing
  // nothing: it is shown what it showed before.
  void Renewed(HWND window);

 private:
  struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
  };
  // Sends what the button is to show.
  void Send(bool stateToo);

  MakeTaskbarList make_;
  std::unique_ptr<ITaskbarList3, Release> taskbar_;
  bool tried_ = false;
  HWND window_ = nullptr;
  TaskbarProgress state_ = TaskbarProgress::None;
  ULONGLONG value_ = 0;
};
