#pragma once
#include <string>

#include "runtime/file_system.h"

// The converter that conversions run: its path, and its name as the user is told it.
struct ConverterProgram {
  std::wstring path;
  std::wstring name;
};

// Where to find the converter: beside Quillet, else on the PATH (see ConverterCandidates), named
// "ffmpeg.exe" beside Quillet and by its path elsewhere. The path is "" where there is none.
ConverterProgram FindConverter(FileSystem& files, const std::wstring& programFolder, const std::wstring& pathVariable);
