#include "runtime/shell.h"

#include "runtime/child_process.h"
#include "runtime/rules/command_line.h"

DWORD Shell(const std::wstring& commandLine, int windowStyle) {
  // The program is named explicitly, so that an unquoted path with blanks starts nothing else.
  return StartChild(ProgramOfCommandLine(commandLine), commandLine, static_cast<WORD>(windowStyle)).id;
}
