#include "converter/output_names.h"

#include "runtime/rules/path_text.h"

namespace {

constexpr wchar_t kMp3Extension[] = L".mp3";
constexpr wchar_t kUnfinishedExtension[] = L".part";

constexpr wchar_t kReplacedTag[] = L"replaced";

// Where the file name's extension starts (its last dot), or the path's end when it has none.
std::wstring::size_type ExtensionStart(const std::wstring& path) {
  const auto dot = path.rfind(L'.');
  return dot == std::wstring::npos || dot < FileNameStart(path) ? path.size() : dot;
}

// Another name for a file beside it, with the tag before its extension: "clip (2).mp3".
std::wstring TaggedName(const std::wstring& path, const std::wstring& tag) {
  const auto at = ExtensionStart(path);
  return path.substr(0, at) + L" (" + tag + L")" + path.substr(at);
}

}  // namespace

std::wstring GetMp3FileName(const std::wstring& inputPath) {
  return inputPath.substr(0, ExtensionStart(inputPath)) + kMp3Extension;
}

std::wstring UnfinishedName(const std::wstring& mp3Path, int attempt) {
  return mp3Path + (attempt == 0 ? L"" : L"." + std::to_wstring(attempt)) + kUnfinishedExtension;
}

std::wstring NumberedName(const std::wstring& mp3Path, int number) {
  return TaggedName(mp3Path, std::to_wstring(number));
}

std::wstring AsideName(const std::wstring& mp3Path, int number) {
  return TaggedName(mp3Path, kReplacedTag + (number == 1 ? L"" : L" " + std::to_wstring(number)));
}
