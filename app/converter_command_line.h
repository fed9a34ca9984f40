#pragma once
#include <string>

// The command line that starts the converter: pure string rules.

// The converter program beside Quillet: the program folder joined with "ffmpeg.exe".
std::wstring ConverterPath(const std::wstring& programFolder);

// One argument in double quotes, as the C runtime's argument parser reads it back unchanged:
// backslashes that end the argument are doubled so that they do not escape the closing quote.
// A double quote cannot be part of a Windows path; any inside is dropped.
std::wstring QuoteArgument(const std::wstring& argument);

// "<folder>\ffmpeg.exe" -y -i "<input>" -f mp3 "<output>": the program path is quoted too, so that a
// folder with blanks in its name never makes Windows start some other program. The input and output
// are full paths; the converter gets them in the form that works at any length ("\\?\C:\...").
std::wstring BuildConverterCommandLine(const std::wstring& programFolder, const std::wstring& inputPath,
                                       const std::wstring& outputPath);
