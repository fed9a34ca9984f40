#pragma once
#include <string>
#include <vector>

#include "runtime/file_system.h"

// What a text handed over names as a conversion's input: the file and the MP3 beside it, or why it
// is none.
struct InputFile {
  enum class Refusal { None, NoFile, AlreadyAnMp3 };
  Refusal refusal = Refusal::None;
  std::wstring path{};  // the full path, in long names
  std::wstring mp3Path{};
};
InputFile ReadInputFile(FileSystem& files, const std::wstring& text);

// Whether the text names no file at all, as its words alone tell (see NamesAFile).
bool NamesNoFile(const std::wstring& text);

// The text as the user knows what it names: the full path in long names where it names a file (see
// FileSystem::FullPath), else as it is.
std::wstring AsTheUserKnowsIt(FileSystem& files, const std::wstring& text);

// The files that the program's command line's tail names (see FilesOfCommandLine), each as the user
// knows it.
std::vector<std::wstring> CommandLineFiles(FileSystem& files, const std::wstring& tail);
