#pragma once
#include <functional>
#include <string>
#include <vector>

// How a Windows command line splits into the program and the rest, as the C runtime reads it.

// Everything after the program's own name and the blanks that follow it: the text a program gets
// as its one "command" string, double quotes included.
std::wstring CommandLineTail(const std::wstring& commandLine);

// The program that a command line starts: its first token, without the quotes around it.
std::wstring ProgramOfCommandLine(const std::wstring& commandLine);

// The paths that a command line's tail names, read as the C runtime reads arguments where none holds
// a double quote, as no Windows path can: blanks separate them, double quotes group blanks into one
// and are dropped, and a backslash is always just a backslash ("C:\" stays whole).
std::vector<std::wstring> SplitPaths(const std::wstring& tail);

// Whether the tail is the one COM gives a program that it starts to serve a class ("-Embedding").
bool IsStartedByCom(const std::wstring& tail);

// The text with every double quote removed.
std::wstring WithoutDoubleQuotes(std::wstring text);

// The paths as one text that PathsOfText reads back: one as it is, several each in double quotes with
// one blank between.
std::wstring PathsAsText(const std::vector<std::wstring>& paths);

// The paths that a text names: where it holds a double quote, those SplitPaths reads; else the whole
// text, as one path that may hold blanks.
std::vector<std::wstring> PathsOfText(const std::wstring& text);

// The files that the program's command line hands over. With a double quote in it, the tail reads as
// PathsOfText reads it. Without one, it may be several files each by its 8.3 name (as Explorer's
// "Send to" passes them), or one path with blanks in it: the whole tail where it names an existing
// file; else the blank-separated pieces where each names an existing file or each is a full path (a
// file deleted since it was chosen is then a failure of its own); else the whole tail.
std::vector<std::wstring> FilesOfCommandLine(const std::wstring& tail,
                                             const std::function<bool(const std::wstring&)>& exists);
