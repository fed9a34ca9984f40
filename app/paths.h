#pragma once
#include <functional>
#include <string>
#include <vector>

// Which files the window is handed and which folder it opens: pure string rules, no file system access.

// The leading part of the path up to and including its last backslash, or "" when there is none.
std::wstring GetFolder(const std::wstring& strPath);

// The folder that holds a folder (both with their trailing backslash); "" for a drive's or a share's
// root, or what is no folder.
std::wstring ParentFolder(const std::wstring& folder);

// Whether the text names no video at all: the placeholder, nothing, or only blanks.
bool IsNoVideo(const std::wstring& text);

// The files that the program's command line hands over. With a double quote in it, the tail reads as
// PathsOfText reads it. Without one, it may be several files each by its 8.3 name (as Explorer's
// "Send to" passes them), or one path with blanks in it: the whole tail where it names an existing
// file; else the blank-separated pieces where each names an existing file or each is a full path (a
// file deleted since it was chosen is then a failure of its own); else the whole tail.
std::vector<std::wstring> FilesOfCommandLine(const std::wstring& tail,
                                             const std::function<bool(const std::wstring&)>& exists);
