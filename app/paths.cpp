#include "app/paths.h"

#include <algorithm>

#include "app/texts.h"
#include "runtime/path_text.h"

namespace {

constexpr wchar_t kMp3Extension[] = L".mp3";
constexpr wchar_t kUnfinishedExtension[] = L".part";

// Where the file's own name starts: after the last backslash or slash.
std::wstring::size_type NameStart(const std::wstring& path) {
  const auto separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? 0 : separator + 1;
}

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

bool NamesAFile(const std::wstring& text) {
  std::wstring path = text.substr(std::min(text.size(), text.find_first_not_of(L" \t")));
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.empty() || path[0] == L'-') return false;
  if (path.rfind(L"\\\\?\\", 0) == 0) {
    const std::wstring rest = path.substr(4);
    return (StartsWithDrive(rest) && rest.size() >= 3 && rest[2] == L'\\') ||
           (rest.rfind(L"UNC\\", 0) == 0 && NamesAFile(L"\\\\" + rest.substr(4)));
  }
  if (path.rfind(L"\\\\", 0) == 0) {
    // \\server\share\...: a server and a share, and no device ("\\.\").
    const auto shareStart = path.find(L'\\', 2);
    return shareStart != std::wstring::npos && shareStart > 2 && path[2] != L'.' && shareStart + 1 < path.size() &&
           path[shareStart + 1] != L'\\';
  }
  // Any other colon makes it a "scheme:" (http:, concat:, pipe:, ...), except a drive letter's.
  return StartsWithDrive(path) || path.find(L':') == std::wstring::npos;
}

std::wstring FileNameOf(const std::wstring& path) { return path.substr(NameStart(path)); }

std::wstring UnfinishedName(const std::wstring& mp3Path, int attempt) {
  return mp3Path + (attempt == 0 ? L"" : L"." + std::to_wstring(attempt)) + kUnfinishedExtension;
}

std::wstring NumberedName(const std::wstring& path, int number) {
  const auto dot = path.rfind(L'.');
  const auto at = dot == std::wstring::npos || dot < NameStart(path) ? path.size() : dot;
  return path.substr(0, at) + L" (" + std::to_wstring(number) + L")" + path.substr(at);
}
