// The command-line tail: the end of the command line, never starting with a blank, and for a
// program named in quotes exactly what follows it.
#include "runtime/rules/command_line.h"
#include "tests/fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring commandLine = WideText(data, size);
  const std::wstring tail = CommandLineTail(commandLine);
  FUZZ_ASSERT(commandLine.size() >= tail.size());
  FUZZ_ASSERT(commandLine.compare(commandLine.size() - tail.size(), tail.size(), tail) == 0);
  FUZZ_ASSERT(tail.empty() || (tail.front() != L' ' && tail.front() != L'\t'));

  const std::vector<std::wstring> parts = Parts(commandLine);
  if (parts.size() == 2 && parts[0].find(L'"') == std::wstring::npos &&
      (parts[1].empty() || (parts[1].front() != L' ' && parts[1].front() != L'\t'))) {
    const std::wstring built = L"\"" + parts[0] + L"\" " + parts[1];
    FUZZ_ASSERT(CommandLineTail(built) == parts[1]);
    FUZZ_ASSERT(ProgramOfCommandLine(built) == parts[0]);
  }
  return 0;
}
