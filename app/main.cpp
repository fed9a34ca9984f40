#include <windows.h>

#include <algorithm>

#include "app/quillet_gui.h"
#include "converter/input_file.h"
#include "runtime/one_window.h"
#include "runtime/program_info.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/path_text.h"
#include "runtime/win32_outside_world.h"

namespace {

// Hands the files of the command line to the one window of the user, where one takes them and each is a
// file's full path; whether it took them. A text that names no file is told of by a window of this
// Quillet's own.
bool HandedOver(const std::wstring& tail, OneWindowElection& election) {
  if (tail.empty() || IsStartedByCom(tail)) return false;
  Win32FileSystem files;
  const std::vector<std::wstring> handed = CommandLineFiles(files, tail);
  return std::all_of(handed.begin(), handed.end(), IsFullPath) && HandToTheOneWindow(handed, election);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  LoadDllsFromSystemFolderOnly();
  const std::wstring tail = Command();
  OneWindowElection election;
  if (HandedOver(tail, election)) return 0;
  // As long as the process: a worker left to finish a call on a share that stalls may still use it
  // while the program ends.
  Win32OutsideWorld& world = *new Win32OutsideWorld;
  QuilletGUI form(world, tail);
  form.Load();
  // Once the window is shown, which keeps the start-up short; one started with files has asked already.
  election.Won();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!form.hWnd() || !IsDialogMessageW(form.hWnd(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return 0;
}
