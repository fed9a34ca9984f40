#pragma once
#include <string>

// A folder and a name within it, with exactly one backslash between them.
inline std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  const bool endsWithSeparator = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
  return folder + (endsWithSeparator || folder.empty() ? L"" : L"\\") + name;
}
