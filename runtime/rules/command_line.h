#pragma once
#include <string>

// How a Windows command line splits into the program and the rest, as the C runtime reads it.

// Everything after the program's own name and the blanks that follow it: the text a program gets
// as its one "command" string, double quotes included.
std::wstring CommandLineTail(const std::wstring& commandLine);

// The program that a command line starts: its first token, without the quotes around it.
std::wstring ProgramOfCommandLine(const std::wstring& commandLine);
