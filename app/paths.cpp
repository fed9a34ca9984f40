#include "app/paths.h"

#include <algorithm>

#include "app/texts.h"

namespace {

constexpr wchar_t kMp3Extension[] = L".mp3";

}  // namespace

std::wstring GetMp3FileName(const std::wstring& inputPath) {
  const auto nameStart = inputPath.find_last_of(L"\\/");
  const auto dot = inputPath.rfind(L'.');
  const bool dotInFileName = dot != std::wstring::npos && (nameStart == std::wstring::npos || dot > nameStart);
  return (dotInFileName ? inputPath.substr(0, dot) : inputPath) + kMp3Extension;
}

std::wstring GetFolder(const std::wstring& strPath) {
  const auto lastBackslash = strPath.rfind(L'\\');
  return lastBackslash == std::wstring::npos ? std::wstring() : strPath.substr(0, lastBackslash + 1);
}

bool IsNoVideo(const std::wstring& text) {
  return text == texts::kPlaceholder || text.find_first_not_of(L" \t") == std::wstring::npos;
}

std::wstring WithoutDoubleQuotes(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'"'), text.end());
  return text;
}
