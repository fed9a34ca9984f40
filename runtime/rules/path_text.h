#pragma once
#include <string>

// Path texts as Windows' file layer reads them: pure string rules.

// A folder and a name within it, with exactly one backslash between them.
inline std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
  const bool endsWithSeparator = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
  return folder + (endsWithSeparator || folder.empty() ? L"" : L"\\") + name;
}

// Where the file's own name starts: after the last backslash or slash, or at 0 when there is none.
std::wstring::size_type FileNameStart(const std::wstring& path);

// The last part of a path: the file's own name.
inline std::wstring FileNameOf(const std::wstring& path) { return path.substr(FileNameStart(path)); }

// Whether the path begins with a drive letter and its colon ("C:").
bool StartsWithDrive(const std::wstring& path);

// Whether the path is a full one, the same from any current folder: "C:\..." or "\\server\...".
bool IsFullPath(const std::wstring& path);

// The root of a full plain path's drive: "C:\", or "\\server\share\" for a share; "" for anything else.
std::wstring PathRoot(const std::wstring& path);

// The folder that holds a folder (both with their trailing separator); "" for a drive's or a share's
// root, or for what is no full path.
std::wstring ParentFolder(const std::wstring& folder);

// A full path (as GetFullPathName gives it) in the form that Windows' file calls take at any length,
// even where the system's long-path setting is off: "C:\a" becomes "\\?\C:\a" and "\\server\share\a"
// becomes "\\?\UNC\server\share\a". A path already in that form, or of another kind, stays as it is.
std::wstring ExtendedLengthPath(const std::wstring& fullPath);

// The ordinary form of a path that may be in the extended-length form: the one the shell and users read.
std::wstring PlainPath(const std::wstring& path);
