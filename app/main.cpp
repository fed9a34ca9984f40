#include <windows.h>

#include <algorithm>

#include "app/quillet_gui.h"
#include "runtime/one_window.h"
#include "runtime/program_info.h"
#include "runtime/rules/path_text.h"
#include "runtime/win32_outside_world.h"

namespace {

// Hands the files of the command line to the one window of the user's session, where there is one
// and each is a file's full path; whether it took them. A text that names no file is told of by a
// window of this Quillet's own.
bool HandedOver(OneWindow& oneWindow, const std::wstring& tail) {
  if (tail.empty() || oneWindow.IsMine()) return false;
  Win32FileSystem files;
  const std::vector<std::wstring> handed = CommandLineFiles(files, tail);
  return std::all_of(handed.begin(), handed.end(), IsFullPath) && oneWindow.HandOver(handed);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  LoadDllsFromSystemFolderOnly();
  const std::wstring tail = Command();
  OneWindow oneWindow;
  if (HandedOver(oneWindow, tail)) return 0;
  Win32OutsideWorld world(&oneWindow);
  QuilletGUI form(world, tail);
  form.Load();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!form.hWnd() || !IsDialogMessageW(form.hWnd(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return 0;
}
