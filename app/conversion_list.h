#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/conversion.h"
#include "runtime/file_identity.h"

// What a text names as a conversion's input: the file and the MP3 beside it, or why it is none.
struct InputFile {
  enum class Refusal { None, NoVideo, NotAFile, AlreadyAnMp3 };
  Refusal refusal = Refusal::None;
  std::wstring path{};  // the full path
  std::wstring mp3Path{};
};
InputFile ReadInputFile(FileSystem& files, const std::wstring& text);

// The text as the user knows what it names: the full path in long names where it names a file (see
// FileSystem::FullPath), else as it is.
std::wstring AsTheUserKnowsIt(FileSystem& files, const std::wstring& text);

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
// failure of one does not stop the rest. Every MP3's path is decided before the first conversion, so
// that no file of the list is lost to another: two inputs that would make one MP3 get different names
// ("talk.mp3", "talk (2).mp3"), an input of the list is never taken for an MP3 to replace, and
// neither is an MP3 the list has made. Only an MP3 that was there before the list began is replaced.
class ConversionList {
 public:
  // Starts converting the first of the files that `texts` name, with the converter found.
  ConversionList(FileSystem& files, Conversion::Starter start, Converter converter, const std::wstring& programFolder,
                 const std::vector<std::wstring>& texts);

  // Which file is converting, counted from 1, and how many there are.
  size_t Position() const { return outcomes_.size() + 1; }
  size_t Count() const { return items_.size(); }

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
  // One file handed over: what it names, and why it is not converted ("" when it is).
  struct Item {
    std::wstring name;
    InputFile input;
    std::wstring refusal;
  };

  // The path that the item's MP3 takes: its own name, unless another item has it or it is an input of
  // the list; then the first numbered name that is free.
  std::wstring ClaimMp3Path(const std::wstring& ownPath);
  // Whether another MP3 of the list has the path, or will have it.
  bool IsClaimed(const std::wstring& path) const;
  // Starts the conversion of the next file that can be started, noting those that cannot.
  void StartNext();

  FileSystem& files_;
  const Conversion::Starter start_;
  const Converter converter_;
  std::vector<Item> items_;
  std::vector<NamedFile> inputs_;
  std::vector<std::wstring> claimed_;
  std::unique_ptr<Conversion> current_;
  std::vector<FileOutcome> outcomes_;
};
