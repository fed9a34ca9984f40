#pragma once
#include <string>

// What the window reads in its text box and which folder it opens: pure string rules.

// The leading part of the path up to and including its last backslash, or "" when there is none.
std::wstring GetFolder(const std::wstring& strPath);

// Whether the text names no video at all: the placeholder, nothing, or only blanks.
bool IsNoVideo(const std::wstring& text);
