#include "app/converter_command_line.h"

#include "app/paths.h"
#include "runtime/rules/path_text.h"

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

std::wstring ConverterPath(const std::wstring& programFolder) { return JoinPath(programFolder, kConverterName); }

std::wstring QuoteArgument(const std::wstring& argument) {
  std::wstring quoted = L"\"" + WithoutDoubleQuotes(argument);
  const auto lastOther = quoted.find_last_not_of(L'\\');
  quoted.append(quoted.size() - 1 - lastOther, L'\\');
  return quoted + L"\"";
}

std::wstring BuildConverterCommandLine(const std::wstring& programFolder, const std::wstring& inputPath,
                                       const std::wstring& outputPath) {
  return QuoteArgument(ConverterPath(programFolder)) + kConverterOptions + QuoteArgument(ConverterFilePath(inputPath)) +
         kOutputOptions + QuoteArgument(ConverterFilePath(outputPath));
}
