#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <memory>

#include "runtime/outside_world.h"

// The window's button on the taskbar, showing progress through the shell's ITaskbarList3. Made on
// first use; where the shell offers no taskbar, it stays silent.
class TaskbarButton {
 public:
  void Show(HWND window, TaskbarProgress state, double share);

 private:
  struct Release {
    void operator()(IUnknown* object) const { object->Release(); }
  };
  std::unique_ptr<ITaskbarList3, Release> taskbar_;
  bool tried_ = false;
};

// Enters the single-threaded apartment that the shell's objects expect, once, on first need.
void EnterShellApartment();
