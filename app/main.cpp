#include <windows.h>

#include "app/quillet_gui.h"
#include "runtime/program_info.h"
#include "runtime/win32_outside_world.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  LoadDllsFromSystemFolderOnly();
  Win32OutsideWorld world;
  QuilletGUI form(world, Command());
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
