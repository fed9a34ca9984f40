#pragma once
#include <windows.h>

#include <string>

// The running program: its module, its folder and its command line.

HINSTANCE AppInstance();
// The folder that holds the program file, without a trailing backslash (unless it is a drive's root).
std::wstring AppPath();
// The program's command line after its own name, as one text.
std::wstring Command();
