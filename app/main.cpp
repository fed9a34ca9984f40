#include <windows.h>
#include <objbase.h>

#include "app/quillet_gui.h"
#include "runtime/program_info.h"
#include "runtime/win32_outside_world.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The shell, opening folders and pages for us, expects a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  {
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
  }
  CoUninitialize();
  return 0;
}
