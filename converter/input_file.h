#pragma once
#include <string>

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

// The text as the user knows what it names: the full path in long names where it names a file (see
// FileSystem::FullPath), else as it is.
std::wstring AsTheUserKnowsIt(FileSystem& files, const std::wstring& text);
