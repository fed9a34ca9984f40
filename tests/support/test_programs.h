#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/handles.h"

// Helpers for tests that run real programs and touch real files.

// The folder that holds the test programs.
std::wstring TestProgramFolder();

// The stand-in converter: a console program that sleeps, writes to its error stream and exits as
// its options say (--sleep MS, --stderr TEXT, --exit CODE).
std::wstring StandInPath();

// A program that starts another as Quillet starts its converter (see tools/child_starter.cpp).
std::wstring ChildStarterPath();

// A new empty folder under the system's temporary folder, removed with all it holds at the end.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  const std::wstring& Path() const { return path_; }
  // The path of a file in this folder.
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// The text in UTF-8, as a console program writes it.
std::string Utf8(const std::wstring& text);

// A folder inside the given one whose path is longer than MAX_PATH, made if need be.
std::wstring DeepFolder(const TempFolder& folder);

// The current folder of this process.
std::wstring CurrentFolder();

// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);

// The file opened for reading as another program would, sharing it as `share` says.
UniqueFileHandle OpenShared(const std::wstring& path, DWORD share);

// Starts a program (a full path) with the given arguments after its name; returns its process.
UniqueKernelHandle StartProgram(const std::wstring& program, const std::wstring& arguments);

// Whether the process ends within the time.
bool EndsWithin(HANDLE process, DWORD milliseconds);
DWORD ExitCodeOf(HANDLE process);

// The ids of the running processes with this image name (letter case aside).
std::vector<DWORD> ProcessesNamed(const std::wstring& imageName);
