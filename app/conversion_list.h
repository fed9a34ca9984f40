#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/conversion.h"

// What a text names as a conversion's input: the file and the MP3 beside it, or why it is none.
struct InputFile {
  enum class Refusal { None, NoVideo, NotAFile, AlreadyAnMp3 };
  Refusal refusal = Refusal::None;
  std::wstring path{};  // the full path
  std::wstring mp3Path{};
};
InputFile ReadInputFile(FileSystem& files, const std::wstring& text);

// Where to find the converter: beside Quillet, else on the PATH (see ConverterCandidates). The path is
// "" where there is none.
Converter FindConverter(FileSystem& files, const std::wstring& programFolder, const std::wstring& pathVariable);

// What came of one file handed over.
struct FileOutcome {
  std::wstring name{};  // the file's name
  ConversionResult result{};
};

// How a list ended, as the window tells it.
struct ListEnd {
  bool complete = false;   // every file is converted
  std::wstring status{};   // for the status line
  std::wstring tip{};      // the whole of it, file by file where there were several
  std::wstring mp3Path{};  // the first complete MP3; "" when there is none
};

// How the list ended; `note` is what else the user must know of a complete one.
ListEnd Summarise(const std::vector<FileOutcome>& outcomes, const std::wstring& note = L"");

// The files handed over together, converted one after another, each as a conversion of its own: a
// failure of one does not stop the rest.
class ConversionList {
 public:
  // Starts converting the first of the files that `texts` name, with the converter found.
  ConversionList(FileSystem& files, Conversion::Starter start, Converter converter, const std::wstring& programFolder,
                 std::vector<std::wstring> texts);

  // Which file is converting, counted from 1, and how many there are.
  size_t Position() const { return outcomes_.size() + 1; }
  size_t Count() const { return texts_.size(); }

  // Whether the current file's converter still runs.
  bool IsRunning() { return current_ && current_->IsRunning(); }
  // How much of the whole list is done, from 0 to 1; none while a single file's share is unknown.
  std::optional<double> Progress();
  // Once the current file's converter has ended: finishes that file and starts the next. Whether one
  // was started; when not, every file has its outcome.
  bool Advance();
  // Cuts the current conversion short, and starts no other.
  void Cancel();

  const std::vector<FileOutcome>& Outcomes() const { return outcomes_; }

 private:
  // Starts the conversion of the next file that can be started, noting those that cannot.
  void StartNext();

  FileSystem& files_;
  const Conversion::Starter start_;
  const Converter converter_;
  const std::wstring programFolder_;
  const std::vector<std::wstring> texts_;
  std::unique_ptr<Conversion> current_;
  std::vector<FileOutcome> outcomes_;
};
