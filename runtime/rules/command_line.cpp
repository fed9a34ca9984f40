#include "runtime/rules/command_line.h"

#include <algorithm>
#include <iterator>

#include "runtime/rules/path_text.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The end of the program token: a quoted name runs to its closing quote, a bare one to the first blank.
std::wstring::size_type ProgramTokenEnd(const std::wstring& commandLine) {
  if (!commandLine.empty() && commandLine.front() == L'"') {
    const auto closingQuote = commandLine.find(L'"', 1);
    return closingQuote == std::wstring::npos ? commandLine.size() : closingQuote + 1;
  }
  const auto blank = commandLine.find_first_of(L" \t");
  return blank == std::wstring::npos ? commandLine.size() : blank;
}

}  // namespace

std::wstring CommandLineTail(const std::wstring& commandLine) {
  auto start = ProgramTokenEnd(commandLine);
  while (start < commandLine.size() && IsBlank(commandLine[start])) ++start;
  return commandLine.substr(start);
}

std::wstring ProgramOfCommandLine(const std::wstring& commandLine) {
  const auto end = ProgramTokenEnd(commandLine);
  if (!commandLine.empty() && commandLine.front() == L'"') {
    const bool closed = end >= 2 && commandLine[end - 1] == L'"';
    return commandLine.substr(1, end - 1 - (closed ? 1 : 0));
  }
  return commandLine.substr(0, end);
}

std::vector<std::wstring> SplitPaths(const std::wstring& tail) {
  std::vector<std::wstring> paths;
  std::wstring path;
  bool quoted = false, started = false;
  for (const wchar_t c : tail) {
    if (c == L'"') {
      quoted = !quoted;
      started = true;
    } else if (IsBlank(c) && !quoted) {
      if (started) paths.push_back(path);
      path.clear();
      started = false;
    } else {
      path += c;
      started = true;
    }
  }
  if (started) paths.push_back(path);
  return paths;
}

bool IsStartedByCom(const std::wstring& tail) {
  const std::wstring switches[] = {L"-Embedding", L"/Embedding"};
  return std::find(std::begin(switches), std::end(switches), tail) != std::end(switches);
}

std::wstring WithoutDoubleQuotes(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'"'), text.end());
  return text;
}

std::wstring PathsAsText(const std::vector<std::wstring>& paths) {
  if (paths.size() == 1) return paths[0];
  std::wstring text;
  for (const std::wstring& path : paths) text += (text.empty() ? L"\"" : L" \"") + path + L"\"";
  return text;
}

std::vector<std::wstring> PathsOfText(const std::wstring& text) {
  return text.find(L'"') == std::wstring::npos ? std::vector<std::wstring>{text} : SplitPaths(text);
}

std::vector<std::wstring> FilesOfCommandLine(const std::wstring& tail,
                                             const std::function<bool(const std::wstring&)>& exists) {
  const std::vector<std::wstring> pieces = SplitPaths(tail);
  if (tail.find(L'"') != std::wstring::npos || pieces.size() < 2 || exists(tail)) return PathsOfText(tail);
  const bool severalFiles = std::all_of(pieces.begin(), pieces.end(), exists) ||
                            std::all_of(pieces.begin(), pieces.end(), [](const std::wstring& piece) {
                              return IsFullPath(piece);
                            });
  return severalFiles ? pieces : std::vector<std::wstring>{tail};
}
