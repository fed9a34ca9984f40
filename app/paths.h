#pragma once
#include <functional>
#include <string>
#include <vector>

// Where the MP3 goes and which folder holds it: pure string rules, no file system access.

// The input path with its file name's extension replaced by ".mp3". Only the part after the last
// "\" or "/" counts: a dot in a folder name is not an extension, and a file name without a dot gets
// ".mp3" appended, so the MP3 always lands beside the input.
std::wstring GetMp3FileName(const std::wstring& inputPath);

// The leading part of the path up to and including its last backslash, or "" when there is none.
std::wstring GetFolder(const std::wstring& strPath);

// Whether the text names no video at all: the placeholder, nothing, or only blanks.
bool IsNoVideo(const std::wstring& text);

// The text with every double quote removed.
std::wstring WithoutDoubleQuotes(std::wstring text);

// The files that the program's command line hands over. With a double quote in it, the tail reads as
// PathsOfText reads it. Without one, it may be several files each by its 8.3 name (as Explorer's
// "Send to" passes them), or one path with blanks in it: the whole tail where it names an existing
// file; else the blank-separated pieces where each names an existing file or each is a full path (a
// file deleted since it was chosen is then a failure of its own); else the whole tail.
std::vector<std::wstring> FilesOfCommandLine(const std::wstring& tail,
                                             const std::function<bool(const std::wstring&)>& exists);

// Whether the text names a file on this computer or a network share, the only things Quillet
// converts: a path with a drive letter ("C:\..."), a share ("\\server\share\..."), either in the
// long form ("\\?\..."), or a path relative to the current folder. Not a web address or any other
// "scheme:" that ffmpeg would open, nor anything that ffmpeg would read as an option (a leading "-").
bool NamesAFile(const std::wstring& text);

// The last part of a path: the file's own name.
std::wstring FileNameOf(const std::wstring& path);

// Where the converter writes the MP3 until it is complete: its name with ".part" added, or with
// ".1.part", ".2.part", ... for `attempt` 1, 2, ... when that name is taken.
std::wstring UnfinishedName(const std::wstring& mp3Path, int attempt);

// Another name for a file beside it, with the tag before its extension: "clip (2).mp3" for the tag
// "2", "clip (replaced).mp3" for "replaced".
std::wstring TaggedName(const std::wstring& path, const std::wstring& tag);

// The folder that holds a folder (both with their trailing backslash); "" for a drive's or a share's
// root, or what is no folder.
std::wstring ParentFolder(const std::wstring& folder);
