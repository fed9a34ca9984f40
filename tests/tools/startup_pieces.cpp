// Times Quillet's own start-up piece by piece: it starts as the program does, and notes the time at
// each mark the start-up makes (this file's StartupPieceDone takes the place of the program's, which
// does nothing). Prints one name=milliseconds line per piece:
//   load     from the process's creation until wWinMain: the program and the DLLs it imports
//   form     the window and its ten controls, placed, in their fonts
//   icons    the window's big and small icons
//   option   the stored option read (and written back, as a first start does)
//   topmost  the window put in the topmost band
//   show     showing the window and focusing its first control
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/quillet_gui.h"
#include "runtime/program_info.h"
#include "runtime/startup_marks.h"
#include "runtime/win32_outside_world.h"

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

}  // namespace

void StartupPieceDone(const char* piece) {
  const double now = Now();
  char line[64];
  std::snprintf(line, sizeof line, "%s=%.1f\n", piece, now - last);
  report += line;
  last = now;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  last = Milliseconds(created);
  StartupPieceDone("load");
  LoadDllsFromSystemFolderOnly();
  Win32OutsideWorld world;
  QuilletGUI form(world, L"");
  form.Load();
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
  return 0;
}
