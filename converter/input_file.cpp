#include "converter/input_file.h"

#include "converter/converter_command_line.h"
#include "converter/output_names.h"
#include "runtime/file_identity.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/text.h"

bool NamesNoFile(const std::wstring& text) { return Trimmed(text).empty() || !NamesAFile(text); }

InputFile ReadInputFile(FileSystem& files, const std::wstring& text) {
  if (NamesNoFile(text)) return {InputFile::Refusal::NoFile};
  InputFile input{InputFile::Refusal::None, files.FullPath(text)};
  input.mp3Path = GetMp3FileName(input.path);
  // Converting an MP3 onto itself would destroy it.
  if (IsSameFile(files, input.path, input.mp3Path)) input.refusal = InputFile::Refusal::AlreadyAnMp3;
  return input;
}

std::wstring AsTheUserKnowsIt(FileSystem& files, const std::wstring& text) {
  return NamesNoFile(text) ? text : files.FullPath(text);
}

std::vector<std::wstring> CommandLineFiles(FileSystem& files, const std::wstring& tail) {
  const auto exists = [&files](const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    return files.Attributes(files.FullPath(path), attributes) == ERROR_SUCCESS;
  };
  std::vector<std::wstring> named;
  for (const std::wstring& text : FilesOfCommandLine(tail, exists)) named.push_back(AsTheUserKnowsIt(files, text));
  return named;
}
