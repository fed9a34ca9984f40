#include "runtime/taskbar_button.h"

#include <objbase.h>

#include "runtime/later_loaded.h"
#include "runtime/windows_shell.h"

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

}  // namespace

void TaskbarButton::Show(HWND window, TaskbarProgress state, double share) {
  if (!tried_) {
    tried_ = true;
    EnterShellApartment();
    ITaskbarList3* taskbar = nullptr;
    static const auto createInstance = LaterLoaded<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    if (SUCCEEDED(createInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&taskbar)))) {
      taskbar_.reset(taskbar);
      if (FAILED(taskbar_->HrInit())) taskbar_.reset();
    }
  }
  if (!taskbar_) return;
  const bool hasValue = state == TaskbarProgress::Normal || state == TaskbarProgress::Error;
  const ULONGLONG value =
      hasValue ? static_cast<ULONGLONG>((state == TaskbarProgress::Error ? 1.0 : share) * kProgressScale) : 0;
  if (window == shownWindow_ && state == shownState_ && value == shownValue_) return;
  if (window != shownWindow_ || state != shownState_) taskbar_->SetProgressState(window, FlagOf(state));
  if (hasValue) taskbar_->SetProgressValue(window, value, kProgressScale);
  shownWindow_ = window;
  shownState_ = state;
  shownValue_ = value;
}
