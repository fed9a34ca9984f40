#include "converter/converter_location.h"

#include "converter/converter_command_line.h"
#include "runtime/rules/path_text.h"

ConverterProgram FindConverter(FileSystem& files, const std::wstring& programFolder, const std::wstring& pathVariable) {
  for (const std::wstring& candidate : ConverterCandidates(programFolder, pathVariable)) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (files.Attributes(candidate, attributes) == ERROR_SUCCESS &&
        !(attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      const bool beside = candidate == ConverterPath(programFolder);
      return {candidate, beside ? FileNameOf(candidate) : candidate};
    }
  }
  return {};
}
