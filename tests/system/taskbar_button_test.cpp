#include "runtime/taskbar_button.h"

#include <gtest/gtest.h>

// Whatever the shell makes of it (Wine's taskbar only answers S_OK), showing progress in every
// state, on a live window or one that has gone, returns normally and leaves the window working.
TEST(TaskbarButton, EveryStateOnAnyWindowReturnsNormally) {
  HWND window = CreateWindowW(L"STATIC", L"progress", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
  TaskbarButton button;
  for (TaskbarProgress state :
       {TaskbarProgress::Indeterminate, TaskbarProgress::Normal, TaskbarProgress::Error, TaskbarProgress::None}) {
    button.Show(window, state, 0.5);
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(SetWindowTextW(window, L"still here"));
  DestroyWindow(window);
  button.Show(window, TaskbarProgress::Normal, 1.0);
}
