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

std::wstring FirstChosenFile(const std::wstring& answer) {
  const auto firstEnd = std::min(answer.find(L'\0'), answer.size());
  const std::wstring first = answer.substr(0, firstEnd);
  if (firstEnd + 1 >= answer.size()) return first;
  const std::wstring second = answer.substr(firstEnd + 1, answer.find(L'\0', firstEnd + 1) - firstEnd - 1);
  if (second.empty()) return first;
  return JoinPath(first, second);
}
