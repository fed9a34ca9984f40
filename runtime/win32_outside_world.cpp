#include "runtime/win32_outside_world.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "runtime/com.h"
#include "runtime/hidden_process.h"
#include "runtime/later_loaded.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/open_file_text.h"
#include "runtime/windows_shell.h"

int Win32OutsideWorld::MsgBox(HWND owner, const std::wstring& prompt, UINT style, const std::wstring& title) {
  return MessageBoxW(owner, prompt.c_str(), title.c_str(), style);
}

void Win32OutsideWorld::ShowOpen(HWND owner, OpenFileRequest& request) {
  const std::wstring filter = DialogFilter(request.filter);
  std::vector<wchar_t> answer(std::max<size_t>(request.maxFileSize, request.fileName.size() + 1), L'\0');
  std::copy(request.fileName.begin(), request.fileName.end(), answer.begin());

  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = answer.data();
  dialog.nMaxFile = static_cast<DWORD>(answer.size());
  dialog.lpstrTitle = request.title.c_str();
  dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
  dialog.Flags = request.flags;
  static const auto getOpenFileName = LaterLoaded<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  static const auto extendedError = LaterLoaded<decltype(&CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError");
  const bool chosen = getOpenFileName(&dialog) != FALSE;
  request.fileName = chosen ? PathsAsText(ChosenFiles(std::wstring(answer.begin(), answer.end()))) : L"";
  request.error = chosen ? 0 : extendedError();
}

bool Win32OutsideWorld::ShellOpen(const std::wstring& target) { return OpenWithShell(target); }

void Win32OutsideWorld::Beep(UINT soundType) { MessageBeep(soundType); }

void Win32OutsideWorld::AllowMessageFromBelow(HWND window, UINT message) {
  ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

void Win32OutsideWorld::ShowTaskbarProgress(HWND window, TaskbarProgress state, double share) {
  taskbarButton_.Show(window, state, share);
}

std::unique_ptr<StartedProcess> Win32OutsideWorld::StartHidden(const std::wstring& program,
                                                               const std::wstring& commandLine,
                                                               ProcessPriority priority) {
  return HiddenProcess::Start(program, commandLine, priority);
}

void Win32OutsideWorld::ServeFiles(std::function<bool(const std::vector<std::wstring>& files)> take) {
  // Not where COM would let lower processes drop files on the window.
  if (SecureComForTheUser()) oneWindow_.emplace(std::move(take));
}

unsigned Win32OutsideWorld::LogicalProcessors() {
  // Windows 7 and later count the processors of every group; before, and with one group, the system's.
  using ActiveProcessorCount = DWORD(WINAPI*)(WORD);
  static const auto activeCount = reinterpret_cast<ActiveProcessorCount>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetActiveProcessorCount")));
  constexpr WORD kAllProcessorGroups = 0xFFFF;
  if (activeCount) {
    if (const DWORD count = activeCount(kAllProcessorGroups)) return count;
  }
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return system.dwNumberOfProcessors;
}
