#include "runtime/shell.h"

#include <vector>

#include "runtime/command_line.h"
#include "runtime/handles.h"
#include "runtime/runtime_error.h"

DWORD Shell(const std::wstring& commandLine, int windowStyle) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back(L'\0');
  PROCESS_INFORMATION started = {};
  // The program is named explicitly, so that an unquoted path with blanks starts nothing else.
  const std::wstring program = ProgramOfCommandLine(commandLine);
  if (!CreateProcessW(program.c_str(), writableCommandLine.data(), nullptr, nullptr, FALSE,
                      windowStyle == SW_HIDE ? CREATE_NO_WINDOW : 0, nullptr, nullptr, &startup, &started)) {
    throw LastWin32Error(L"Cannot start " + program);
  }
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  return started.dwProcessId;
}
