#include "converter/converter_output.h"

#include <algorithm>

#include "runtime/rules/path_text.h"
#include "runtime/rules/text.h"

namespace {

constexpr wchar_t kGenericTrailer[] = L"Conversion failed!";
// Longer than any line the converter writes, a path of the longest kind included.
constexpr size_t kKeptBytes = 128 * 1024;

// "size=  128kB time=00:00:16.32 ..." (and "frame=..." for pictures), or "Press [q] to stop, ...".
bool IsProgressOrPrompt(const std::wstring& line) {
  return StartsWith(line, L"size=") || StartsWith(line, L"frame=") || StartsWith(line, L"Press [q]");
}

}  // namespace

std::wstring LastErrorLine(const std::wstring& errorOutput) {
  auto end = errorOutput.size();
  while (end > 0) {
    const auto breakBefore = errorOutput.find_last_of(L"\r\n", end - 1);
    const auto start = breakBefore == std::wstring::npos ? 0 : breakBefore + 1;
    const auto line = Trimmed(std::wstring_view(errorOutput).substr(start, end - start));
    if (!line.empty() && line != kGenericTrailer) return IsProgressOrPrompt(line) ? L"" : line;
    if (breakBefore == std::wstring::npos) break;
    end = breakBefore;
  }
  return L"";
}

void KeepTail(std::string& kept, std::string_view newBytes) {
  kept.append(newBytes);
  if (kept.size() <= kKeptBytes) return;
  const size_t cut = kept.size() - kKeptBytes;
  // Progress lines end in a carriage return alone: a line feed may be the last line's own end.
  const size_t lineStart = kept.find_first_of("\r\n", cut);
  kept.erase(0, lineStart == std::string::npos ? cut : lineStart + 1);
}

std::wstring ReasonFirst(std::wstring line, std::vector<std::pair<std::wstring, std::wstring>> pathsAndNames) {
  const auto contextEnd = line.find(L"] ");
  if (StartsWith(line, L"[") && contextEnd != std::wstring::npos && line.find(L" @ ") < contextEnd) {
    line.erase(0, contextEnd + 2);
  }
  // The converter was given each path in the form that works at any length, and echoes it so.
  const size_t given = pathsAndNames.size();
  for (size_t i = 0; i < given; ++i) {
    pathsAndNames.emplace_back(ExtendedLengthPath(pathsAndNames[i].first), pathsAndNames[i].second);
  }
  // Longer paths first: the input's may begin the MP3's ("clip" and "clip.mp3.part").
  std::sort(pathsAndNames.begin(), pathsAndNames.end(),
            [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
  for (const auto& [path, name] : pathsAndNames) {
    if (path.empty()) continue;
    if (StartsWith(line, path + L": ")) {
      line.erase(0, path.size() + 2);
      continue;
    }
    for (auto at = line.find(path); at != std::wstring::npos; at = line.find(path, at + name.size())) {
      line.replace(at, path.size(), name);
    }
  }
  return line;
}

bool SaysNoStream(const std::wstring& errorOutput) {
  return errorOutput.find(L"does not contain any stream") != std::wstring::npos;
}
