// Starts a program as Quillet starts its converter, writes the started process's id to a file, and
// waits to be ended: for the tests of what becomes of Quillet's children, however Quillet runs and ends.
//   child_starter ID_FILE PROGRAM [ARGUMENTS]
#include <windows.h>

#include <string>

#include "runtime/child_process.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 64;
  std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
  for (int i = 3; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
  const StartedChild child = StartChild(argv[2], commandLine, SW_HIDE);
  const std::string id = std::to_string(child.id);
  const HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, id.data(), static_cast<DWORD>(id.size()), &written, nullptr);
  CloseHandle(file);
  Sleep(INFINITE);
  return 0;
}
