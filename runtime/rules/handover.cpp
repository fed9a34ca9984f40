#include "runtime/rules/handover.h"

#include <algorithm>
#include <cwctype>

#include "runtime/rules/path_text.h"

namespace {

// More than any selection, and few enough to be read at once.
constexpr size_t kMostFiles = 1000;

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

// Whether the path could name a file: full, and free of what no path holds.
bool IsFullFilePath(const std::wstring& path) {
  return IsFullPath(path) && std::none_of(path.begin(), path.end(), [](wchar_t c) { return c < L' ' || c == L'"'; });
}

}  // namespace

bool MayHandOver(const ProcessFacts& sender, const ProcessFacts& receiver) {
  return !sender.user.empty() && sender.user == receiver.user && sender.integrity >= receiver.integrity &&
         SameIgnoringCase(sender.imageName, receiver.imageName);
}

std::wstring HandoverMessage(const std::vector<std::wstring>& files) {
  std::wstring message;
  for (const std::wstring& file : files) message += file + L'\0';
  return message;
}

std::optional<std::vector<std::wstring>> HandedOverFiles(const std::wstring& message) {
  if (message.empty() || message.back() != L'\0') return std::nullopt;
  std::vector<std::wstring> files;
  for (size_t start = 0; start < message.size(); start = message.find(L'\0', start) + 1) {
    files.push_back(message.substr(start, message.find(L'\0', start) - start));
    if (!IsFullFilePath(files.back()) || files.size() > kMostFiles) return std::nullopt;
  }
  return files;
}
