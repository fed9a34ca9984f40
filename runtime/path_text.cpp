#include "runtime/path_text.h"

namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t kExtendedSharePrefix[] = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }

}  // namespace

bool StartsWithDrive(const std::wstring& path) {
  return path.size() >= 2 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
         path[1] == L':';
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
  if (StartsWith(path, kExtendedSharePrefix)) return L"\\\\" + path.substr(std::wstring(kExtendedSharePrefix).size());
  if (StartsWith(path, kExtendedPrefix)) return path.substr(std::wstring(kExtendedPrefix).size());
  return path;
}
