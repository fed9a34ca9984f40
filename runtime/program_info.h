#pragma once
#include <windows.h>

#include <string>

// The running program: its module, its folder, its command line, and where it loads DLLs from.

HINSTANCE AppInstance();
// The folder that holds the program file, without a trailing backslash (unless it is a drive's root).
std::wstring AppPath();
// The program's command line after its own name, as one text.
std::wstring Command();
// The environment variable's value; "" where there is none.
std::wstring EnvironmentVariable(const wchar_t* name);

// From now on, DLLs load from the system folder only, never from beside the program (a Downloads
// folder, with whatever else was downloaded). Windows 7 has this only with its 2011 loader update;
// without it, nothing changes.
void LoadDllsFromSystemFolderOnly();
