#pragma once
#include <windows.h>

#include <string>

// Starts a command line, the program named at its head, as one of Quillet's children with the given
// ShowWindow code (0 hides it) and returns the new process's id without waiting for it. Throws RuntimeError when the
// program cannot be started.
DWORD Shell(const std::wstring& commandLine, int windowStyle);
