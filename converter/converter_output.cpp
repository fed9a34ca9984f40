#include "converter/converter_output.h"

namespace {

constexpr wchar_t kGenericTrailer[] = L"Conversion failed!";
constexpr wchar_t kBlanks[] = L" \t";
// Longer than any line the converter writes, a path of the longest kind included.
constexpr size_t kKeptBytes = 128 * 1024;

std::wstring Trimmed(const std::wstring& line) {
  const auto first = line.find_first_not_of(kBlanks);
  if (first == std::wstring::npos) return L"";
  return line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
}

bool StartsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }

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
    const auto line = Trimmed(errorOutput.substr(start, end - start));
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
  const size_t lineStart = kept.find('\n', cut);
  kept.erase(0, lineStart == std::string::npos ? cut : lineStart + 1);
}
