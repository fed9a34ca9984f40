#include "app/paths.h"

#include "app/texts.h"
#include "runtime/rules/text.h"

std::wstring GetFolder(const std::wstring& strPath) {
  const auto lastBackslash = strPath.rfind(L'\\');
  return lastBackslash == std::wstring::npos ? std::wstring() : strPath.substr(0, lastBackslash + 1);
}

bool IsNoVideo(const std::wstring& text) { return text == texts::kPlaceholder || Trimmed(text).empty(); }
