#pragma once
#include <string>
#include <vector>

// The command line that starts the converter, and what may reach it: pure string rules.

// Whether the text names a file on this computer or a network share, the only things Quillet
// converts: a path with a drive letter ("C:\..."), a share ("\\server\share\..."), either in the
// long form ("\\?\..."), or a path relative to the current folder. Not a web address or any other
// "scheme:" that ffmpeg would open, nor anything that ffmpeg would read as an option (a leading "-").
bool NamesAFile(const std::wstring& text);

// The converter program in a folder: the folder joined with "ffmpeg.exe".
std::wstring ConverterPath(const std::wstring& folder);

// Where the converter is looked for, in this order: beside Quillet, then in each folder of the PATH
// (where winget, Scoop and Chocolatey put it) that is a full path; never the current folder nor a
// relative entry, where a downloaded ffmpeg.exe may lie.
std::vector<std::wstring> ConverterCandidates(const std::wstring& programFolder, const std::wstring& pathVariable);

// One argument in double quotes, as the C runtime's argument parser reads it back unchanged:
// backslashes that end the argument are doubled so that they do not escape the closing quote.
// A double quote cannot be part of a Windows path; any inside is dropped.
std::wstring QuoteArgument(const std::wstring& argument);

// "<converter>" -y -i "<input>" -f mp3 "<output>": the converter's path is quoted too, so that a
// folder with blanks in its name never makes Windows start some other program. The input and output
// are full paths; the converter gets them in the form that works at any length ("\\?\C:\...").
std::wstring BuildConverterCommandLine(const std::wstring& converterPath, const std::wstring& inputPath,
                                       const std::wstring& outputPath);
