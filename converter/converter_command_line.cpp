#include "converter/converter_command_line.h"

#include <algorithm>

#include "runtime/rules/command_line.h"
#include "runtime/rules/path_text.h"
#include "runtime/rules/text.h"

namespace {

constexpr wchar_t kConverterName[] = L"ffmpeg.exe";
// -y: replace an existing output without asking; -i: the input follows.
constexpr wchar_t kConverterOptions[] = L" -y -i ";
// The output's name ends in ".part" until it is complete, so its format is named.
constexpr wchar_t kOutputOptions[] = L" -f mp3 ";

// A file as the converter is given it: in the form that works at any length.
std::wstring ConverterFilePath(const std::wstring& fullPath) {
  return ExtendedLengthPath(WithoutDoubleQuotes(fullPath));
}

}  // namespace

bool NamesAFile(const std::wstring& text) {
  std::wstring path = text.substr(std::min(text.size(), text.find_first_not_of(kBlanks)));
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.empty() || path[0] == L'-') return false;
  if (StartsWith(path, L"\\\\?\\")) {
    const std::wstring rest = path.substr(4);
    return (StartsWithDrive(rest) && rest.size() >= 3 && rest[2] == L'\\') ||
           (StartsWith(rest, L"UNC\\") && NamesAFile(L"\\\\" + rest.substr(4)));
  }
  if (StartsWith(path, L"\\\\")) {
    // \\server\share\...: a server and a share, and no device ("\\.\").
    const auto shareStart = path.find(L'\\', 2);
    return shareStart != std::wstring::npos && shareStart > 2 && path[2] != L'.' && shareStart + 1 < path.size() &&
           path[shareStart + 1] != L'\\';
  }
  // Any other colon makes it a "scheme:" (http:, concat:, pipe:, ...), except a drive letter's.
  return StartsWithDrive(path) || path.find(L':') == std::wstring::npos;
}

std::wstring ConverterPath(const std::wstring& folder) { return JoinPath(folder, kConverterName); }

std::vector<std::wstring> ConverterCandidates(const std::wstring& programFolder, const std::wstring& pathVariable) {
  std::vector<std::wstring> candidates = {ConverterPath(programFolder)};
  for (size_t start = 0; start <= pathVariable.size();) {
    const size_t end = std::min(pathVariable.find(L';', start), pathVariable.size());
    const std::wstring folder =
        WithoutDoubleQuotes(Trimmed(std::wstring_view(pathVariable).substr(start, end - start)));
    if (IsFullPath(folder)) candidates.push_back(ConverterPath(folder));
    start = end + 1;
  }
  return candidates;
}

std::wstring QuoteArgument(const std::wstring& argument) {
  std::wstring quoted = L"\"" + WithoutDoubleQuotes(argument);
  const auto lastOther = quoted.find_last_not_of(L'\\');
  quoted.append(quoted.size() - 1 - lastOther, L'\\');
  return quoted + L"\"";
}

std::wstring BuildConverterCommandLine(const std::wstring& converterPath, const std::wstring& inputPath,
                                       const std::wstring& outputPath) {
  return QuoteArgument(converterPath) + kConverterOptions + QuoteArgument(ConverterFilePath(inputPath)) +
         kOutputOptions + QuoteArgument(ConverterFilePath(outputPath));
}
