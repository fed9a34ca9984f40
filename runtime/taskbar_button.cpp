#include "runtime/taskbar_button.h"

#include <objbase.h>

#include "runtime/com.h"
#include "runtime/later_loaded.h"

namespace {

// The taskbar's scale for a progress value.
constexpr ULONGLONG kProgressScale = 1000;

TBPFLAG FlagOf(TaskbarProgress state) {
  switch (state) {
    case TaskbarProgress::Indeterminate:
      return TBPF_INDETERMINATE;
    case TaskbarProgress::Normal:
      return TBPF_NORMAL;
    case TaskbarProgress::Error:
      return TBPF_ERROR;
    case TaskbarProgress::None:
      break;
  }
  return TBPF_NOPROGRESS;
}

bool HasValue(TaskbarProgress state) { return state == TaskbarProgress::Normal || state == TaskbarProgress::Error; }

}  // namespace

ITaskbarList3* TaskbarButton::ShellTaskbarList() {
  EnterShellApartment();
  ITaskbarList3* taskbar = nullptr;
  static const auto createInstance = LaterLoaded<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  if (FAILED(createInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&taskbar)))) return nullptr;
  if (SUCCEEDED(taskbar->HrInit())) return taskbar;
  taskbar->Release();
  return nullptr;
}

void TaskbarButton::Show(HWND window, TaskbarProgress state, double share) {
  const ULONGLONG value =
      HasValue(state) ? static_cast<ULONGLONG>((state == TaskbarProgress::Error ? 1.0 : share) * kProgressScale) : 0;
  if (window == window_ && state == state_ && value == value_) return;
  const bool stateToo = window != window_ || state != state_;
  window_ = window;
  state_ = state;
  value_ = value;
  Send(stateToo);
}

void TaskbarButton::Renewed(HWND window) {
  if (window == window_ && state_ != TaskbarProgress::None) Send(true);
}

void TaskbarButton::Send(bool stateToo) {
  if (!tried_) {
    tried_ = true;
    taskbar_.reset(make_());
  }
  if (!taskbar_) return;
  if (stateToo) taskbar_->SetProgressState(window_, FlagOf(state_));
  if (HasValue(state_)) taskbar_->SetProgressValue(window_, value_, kProgressScale);
}
