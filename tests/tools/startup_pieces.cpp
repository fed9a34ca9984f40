// Times Quillet's start-up piece by piece: the same calls, in the same order, as the program makes
// them, in a process that loads the same DLLs. Prints one name=milliseconds line per piece:
//   load      from the process's creation until wWinMain: the program and the DLLs it imports
//   window    the form window, sized and centred
//   fonts     finding the face and making the four fonts
//   controls  the ten controls, placed, in their fonts
//   icons     the window's big and small icons, given twice as the start-up gives them
//   option    the stored option read (and written back, as a first start does)
//   topmost   the window put in the topmost band
//   show      showing the window
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/form_definition.h"
#include "runtime/form_builder.h"
#include "runtime/program_info.h"
#include "runtime/settings_store.h"
#include "winutil/topmost.h"
#include "winutil/tovrandel_seticon.h"

namespace {

double Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER value;
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

double Now() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return Milliseconds(now);
}

std::string report;
double last = 0;

void Piece(const char* name) {
  const double now = Now();
  char line[64];
  std::snprintf(line, sizeof line, "%s=%.1f\n", name, now - last);
  report += line;
  last = now;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  last = Milliseconds(created);
  Piece("load");
  LoadDllsFromSystemFolderOnly();
  const HWND form = CreateFormWindow(kQuilletForm, AppInstance(), DefWindowProcW, nullptr);
  Piece("window");
  const FormFonts fonts(WindowDpi(form));
  Piece("fonts");
  const auto controls = CreateControls(form, kQuilletForm, WindowDpi(form), fonts);
  Piece("controls");
  SetIcon(form, L"ABC", true);
  SetIcon(form, L"ABC", false);
  Piece("icons");
  SaveSetting(L"Quillet", L"Settings", L"Options", GetSetting(L"Quillet", L"Settings", L"Options", L"1"));
  Piece("option");
  SetTopMostWindow(form, -1);
  Piece("topmost");
  ShowWindow(form, SW_SHOW);
  Piece("show");
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
  DestroyWindow(form);
  return 0;
}
