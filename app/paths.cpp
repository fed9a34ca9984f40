#include "app/paths.h"

#include <algorithm>

#include "app/texts.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/path_text.h"
#include "runtime/rules/text.h"

std::wstring GetFolder(const std::wstring& strPath) {
  const auto lastBackslash = strPath.rfind(L'\\');
  return lastBackslash == std::wstring::npos ? std::wstring() : strPath.substr(0, lastBackslash + 1);
}

bool IsNoVideo(const std::wstring& text) { return text == texts::kPlaceholder || Trimmed(text).empty(); }

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

std::wstring ParentFolder(const std::wstring& folder) {
  if (folder.size() < 2) return L"";
  const std::wstring parent = GetFolder(folder.substr(0, folder.size() - 1));
  // A drive's root holds one backslash ("C:\"), a share's four ("\\server\share\").
  const long least = StartsWith(parent, L"\\\\") ? 4 : 1;
  return std::count(parent.begin(), parent.end(), L'\\') >= least ? parent : L"";
}
