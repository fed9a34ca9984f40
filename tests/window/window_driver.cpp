#include "tests/window/window_driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include "app/form_definition.h"
#include "app/stored_option.h"
#include "runtime/settings_store.h"
#include "runtime/windows_shell.h"

void WindowTest::SetUp() { ForgetStoredOption(); }

void WindowTest::TearDown() {
  form.reset();
  TakeQuitMessage();
  ForgetStoredOption();
}

void ConversionTest::StartConversion(const std::wstring& videoFolder) {
  Load();
  form->Text1.SetText((videoFolder.empty() ? folder.Path() : videoFolder) + L"\\clip.avi");
  const size_t started = world.starts.size();
  Click(form->Command2);
  ASSERT_TRUE(PumpUntil([&] { return world.starts.size() == started + 1; }, 5000));
}

QuilletGUI& WindowTest::Load(const std::wstring& commandLineTail) {
  form = std::make_unique<QuilletGUI>(world, commandLineTail);
  world.watchedWindow = form->hWnd();
  form->Load();
  return *form;
}

void WindowTest::Click(const Control& control) { SendMessageW(control.hWnd(), BM_CLICK, 0, 0); }

void WindowTest::ClickStatus() {
  SendMessageW(form->hWnd(), WM_COMMAND, MAKEWPARAM(kStatus, STN_CLICKED),
               reinterpret_cast<LPARAM>(form->Status.hWnd()));
}

void WindowTest::Tick() { SendMessageW(form->hWnd(), WM_TIMER, form->Timer1.Id(), 0); }

void WindowTest::UntilTheEnd() {
  EXPECT_TRUE(PumpUntil([this] { return form->Command2.Enabled() && !form->Timer1.Enabled(); }, 10000));
}

bool WindowTest::PumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > milliseconds) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return condition();
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

HWND WindowTest::StatusTip() const {
  for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
       tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
    if (GetWindow(tip, GW_OWNER) == form->hWnd()) return tip;
  }
  return nullptr;
}

std::wstring WindowTest::StatusTipText() const {
  if (HWND tip = StatusTip()) {
    std::wstring text(1024, L'\0');
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = form->hWnd();
    tool.uId = reinterpret_cast<UINT_PTR>(form->Status.hWnd());
    tool.lpszText = &text[0];
    SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    return text.c_str();
  }
  return L"<none>";
}

bool WindowTest::TakeQuitMessage() {
  MSG message;
  return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

void DropFiles(HWND target, const std::vector<std::wstring>& paths) {
  // The window that takes the drop finishes it, which frees the memory.
  SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(NewDropFileList(paths)), 0);
}

std::wstring StoredOption() { return GetSetting(kSettingsApp, kSettingsSection, kOptionKey, L"<absent>"); }

void StoreOption(const std::wstring& text) { SaveSetting(kSettingsApp, kSettingsSection, kOptionKey, text); }

void ForgetStoredOption() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Quillet"); }
