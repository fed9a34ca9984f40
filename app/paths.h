#pragma once
#include <string>

// Where the MP3 goes and which folder holds it: pure string rules, no file system access.

// The input path with its file name's extension replaced by ".mp3". Only the part after the last
// "\" or "/" counts: a dot in a folder name is not an extension, and a file name without a dot gets
// ".mp3" appended, so the MP3 always lands beside the input.
std::wstring GetMp3FileName(const std::wstring& inputPath);

// The leading part of the path up to and including its last backslash, or "" when there is none.
std::wstring GetFolder(const std::wstring& strPath);

// Whether the text names no video at all: the placeholder, nothing, or only blanks.
bool IsNoVideo(const std::wstring& text);

// The text with every double quote removed: a command-line tail becomes the input path this way.
std::wstring WithoutDoubleQuotes(std::wstring text);
