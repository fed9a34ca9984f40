#include "runtime/taskbar_button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The shell's taskbar list as a taskbar answers it, noting each call that shows progress: Wine's only
// answers S_OK.
class NotingTaskbar : public ITaskbarList3 {
 public:
  explicit NotingTaskbar(std::vector<std::string>& calls) : calls_(calls) {}
  HRESULT STDMETHODCALLTYPE SetProgressState(HWND, TBPFLAG flags) override {
    calls_.push_back("state " + std::to_string(flags));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetProgressValue(HWND, ULONGLONG completed, ULONGLONG total) override {
    calls_.push_back("value " + std::to_string(completed) + "/" + std::to_string(total));
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE HrInit() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, WINBOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return S_OK; }

 private:
  std::vector<std::string>& calls_;
};

}  // namespace

// What the button already shows is not sent again, and a button made anew is shown what it showed.
TEST(TaskbarButton, SendsWhatChangesAndShowsANewButtonWhatTheOldOneShowed) {
  std::vector<std::string> calls;
  NotingTaskbar taskbar(calls);
  TaskbarButton button([&taskbar] { return &taskbar; });
  const HWND window = reinterpret_cast<HWND>(0x1234);
  button.Show(window, TaskbarProgress::Normal, 0.25);
  button.Show(window, TaskbarProgress::Normal, 0.25);
  button.Show(window, TaskbarProgress::Normal, 0.5);
  button.Renewed(window);
  button.Show(window, TaskbarProgress::Error, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"state " + std::to_string(TBPF_NORMAL), "value 250/1000", "value 500/1000",
                                             "state " + std::to_string(TBPF_NORMAL), "value 500/1000",
                                             "state " + std::to_string(TBPF_ERROR), "value 1000/1000"}));
}
