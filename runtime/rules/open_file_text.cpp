#include "runtime/rules/open_file_text.h"

#include <algorithm>

#include "runtime/rules/path_text.h"

std::wstring DialogFilter(const std::wstring& barSeparated) {
  std::wstring filter = barSeparated;
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

std::vector<std::wstring> ChosenFiles(const std::wstring& answer) {
  std::vector<std::wstring> parts;
  for (size_t start = 0; start < answer.size() && answer[start] != L'\0';) {
    const size_t end = std::min(answer.find(L'\0', start), answer.size());
    parts.push_back(answer.substr(start, end - start));
    start = end + 1;
  }
  if (parts.size() <= 1) return parts;
  std::vector<std::wstring> files;
  for (size_t i = 1; i < parts.size(); ++i) files.push_back(JoinPath(parts[0], parts[i]));
  return files;
}
