#include "app/paths.h"

#include <algorithm>

#include "app/texts.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/path_text.h"
#include "runtime/rules/text.h"

namespace {

constexpr wchar_t kMp3Extension[] = L".mp3";
constexpr wchar_t kUnfinishedExtension[] = L".part";

// Where the file name's extension starts (its last dot), or the path's end when it has none.
std::wstring::size_type ExtensionStart(const std::wstring& path) {
  const auto dot = path.rfind(L'.');
  return dot == std::wstring::npos || dot < FileNameStart(path) ? path.size() : dot;
}

}  // namespace

std::wstring GetMp3FileName(const std::wstring& inputPath) {
  return inputPath.substr(0, ExtensionStart(inputPath)) + kMp3Extension;
}

std::wstring GetFolder(const std::wstring& strPath) {
  const auto lastBackslash = strPath.rfind(L'\\');
  return lastBackslash == std::wstring::npos ? std::wstring() : strPath.substr(0, lastBackslash + 1);
}

bool IsNoVideo(const std::wstring& text) { return text == texts::kPlaceholder || Trimmed(text).empty(); }

std::wstring WithoutDoubleQuotes(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'"'), text.end());
  return text;
}

std::vector<std::wstring> FilesOfCommandLine(const std::wstring& tail,
                                             const std::function<bool(const std::wstring&)>& exists) {
  const std::vector<std::wstring> pieces = SplitPaths(tail);
  if (tail.find(L'"') != std::wstring::npos || pieces.size() < 2 || exists(tail)) return PathsOfText(tail);
  const bool severalFiles = std::all_of(pieces.begin(), pieces.end(), exists) ||
                            std::all_of(pieces.begin(), pieces.end(), [](const std::wstring& piece) {
                              return IsFullPath(piece);
                            });
  return severalFiles ? pieces : std::vector<std::wstring>{tail};
}

bool NamesAFile(const std::wstring& text) {
  std::wstring path = text.substr(std::min(text.size(), text.find_first_not_of(kBlanks)));
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.empty() || path[0] == L'-') return false;
  if (StartsWith(path, L"\\\\?\\")) {
    const std::wstring rest = path.substr(4);
    return (StartsWithDrive(rest) && rest.size() >= 3 && rest[2] == L'\\') ||
           (StartsWith(rest, L"UNC\\") && NamesAFile(L"\\\\" + rest.substr(4)));
  }
  if (StartsWith(path, L"\\\\")) {
    // \\server\share\...: a server and a share, and no device ("\\.\").
    const auto shareStart = path.find(L'\\', 2);
    return shareStart != std::wstring::npos && shareStart > 2 && path[2] != L'.' && shareStart + 1 < path.size() &&
           path[shareStart + 1] != L'\\';
  }
  // Any other colon makes it a "scheme:" (http:, concat:, pipe:, ...), except a drive letter's.
  return StartsWithDrive(path) || path.find(L':') == std::wstring::npos;
}

std::wstring FileNameOf(const std::wstring& path) { return path.substr(FileNameStart(path)); }

std::wstring UnfinishedName(const std::wstring& mp3Path, int attempt) {
  return mp3Path + (attempt == 0 ? L"" : L"." + std::to_wstring(attempt)) + kUnfinishedExtension;
}

std::wstring TaggedName(const std::wstring& path, const std::wstring& tag) {
  const auto at = ExtensionStart(path);
  return path.substr(0, at) + L" (" + tag + L")" + path.substr(at);
}

std::wstring ParentFolder(const std::wstring& folder) {
  if (folder.size() < 2) return L"";
  const std::wstring parent = GetFolder(folder.substr(0, folder.size() - 1));
  // A drive's root holds one backslash ("C:\"), a share's four ("\\server\share\").
  const long least = StartsWith(parent, L"\\\\") ? 4 : 1;
  return std::count(parent.begin(), parent.end(), L'\\') >= least ? parent : L"";
}
