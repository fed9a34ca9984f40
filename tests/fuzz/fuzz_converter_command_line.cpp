// The converter's command line, read back by the rules of the C runtime that ffmpeg.exe uses, gives
// exactly the program, its options, the input and the output: each path in one pair of quotes,
// nothing escaping from it. (No Windows path holds a double quote; any is dropped.)
#include "converter/converter_command_line.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/path_text.h"
#include "tests/fuzz/fuzz_text.h"

namespace {

// The C runtime's reading of a command line into arguments. The program name ends at its closing
// quote or first blank and knows no escapes; after it, 2n backslashes before a quote give n
// backslashes and a quote that opens or closes, 2n+1 give n backslashes and a literal quote, and
// quotes and blanks outside them separate nothing else.
std::vector<std::wstring> Arguments(const std::wstring& line) {
  std::vector<std::wstring> arguments;
  size_t i = 0;
  std::wstring program;
  if (i < line.size() && line[i] == L'"') {
    for (++i; i < line.size() && line[i] != L'"'; ++i) program.push_back(line[i]);
    if (i < line.size()) ++i;
  } else {
    for (; i < line.size() && line[i] != L' ' && line[i] != L'\t'; ++i) program.push_back(line[i]);
  }
  arguments.push_back(program);
  for (;;) {
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    if (i >= line.size()) break;
    std::wstring argument;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == L'\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == L'"') {
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2) {
          argument.push_back(L'"');
        } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
          argument.push_back(L'"');
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, L'\\');
        if (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) argument.push_back(line[i++]);
      }
    }
    arguments.push_back(argument);
  }
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::wstring> parts = Parts(WideText(data, size));
  if (parts.size() != 3) return 0;
  const std::wstring& folder = parts[0];
  const std::wstring& input = parts[1];
  const std::wstring& output = parts[2];
  // The program's own folder is a real one: no quotes, no trailing backslash but a root's.
  if (folder.find(L'"') != std::wstring::npos) return 0;

  const std::vector<std::wstring> read = Arguments(BuildConverterCommandLine(ConverterPath(folder), input, output));
  const std::vector<std::wstring> expected = {ConverterPath(folder),
                                              L"-y",
                                              L"-i",
                                              ExtendedLengthPath(WithoutDoubleQuotes(input)),
                                              L"-f",
                                              L"mp3",
                                              ExtendedLengthPath(WithoutDoubleQuotes(output))};
  FUZZ_ASSERT(read == expected);
  return 0;
}
