#include "runtime/path_text.h"

namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t kExtendedSharePrefix[] = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }

bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& fullPath) {
  if (fullPath.size() >= 3 && IsAsciiLetter(fullPath[0]) && fullPath[1] == L':' && fullPath[2] == L'\\') {
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
