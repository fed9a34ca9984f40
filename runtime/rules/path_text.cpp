#include "runtime/rules/path_text.h"

#include <iterator>

#include "runtime/rules/text.h"

namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t kExtendedSharePrefix[] = L"\\\\?\\UNC\\";

}  // namespace

std::wstring::size_type FileNameStart(const std::wstring& path) {
  const auto separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? 0 : separator + 1;
}

bool StartsWithDrive(const std::wstring& path) {
  return path.size() >= 2 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
         path[1] == L':';
}

bool IsFullPath(const std::wstring& path) {
  return (StartsWithDrive(path) && path.size() >= 3 && path[2] == L'\\') || StartsWith(path, L"\\\\");
}

std::wstring PathRoot(const std::wstring& path) {
  if (StartsWithDrive(path) && path.size() >= 3 && path[2] == L'\\') return path.substr(0, 3);
  const auto serverEnd = StartsWith(path, L"\\\\") ? path.find(L'\\', 2) : std::wstring::npos;
  const auto shareEnd = serverEnd == std::wstring::npos ? serverEnd : path.find(L'\\', serverEnd + 1);
  return shareEnd == std::wstring::npos ? L"" : path.substr(0, shareEnd + 1);
}

std::wstring ParentFolder(const std::wstring& folder) {
  const std::wstring root = PathRoot(folder);
  if (root.empty() || folder.size() <= root.size()) return L"";
  // The folder's own name runs to its trailing separator.
  return folder.substr(0, FileNameStart(folder.substr(0, folder.size() - 1)));
}

std::wstring ExtendedLengthPath(const std::wstring& fullPath) {
  if (StartsWithDrive(fullPath) && fullPath.size() >= 3 && fullPath[2] == L'\\') {
    return kExtendedPrefix + fullPath;
  }
  if (StartsWith(fullPath, L"\\\\") && fullPath.size() > 2 && fullPath[2] != L'?' && fullPath[2] != L'.') {
    return kExtendedSharePrefix + fullPath.substr(2);
  }
  return fullPath;
}

std::wstring PlainPath(const std::wstring& path) {
  if (StartsWith(path, kExtendedSharePrefix)) return L"\\\\" + path.substr(std::size(kExtendedSharePrefix) - 1);
  if (StartsWith(path, kExtendedPrefix)) return path.substr(std::size(kExtendedPrefix) - 1);
  return path;
}
