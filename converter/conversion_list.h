#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "converter/conversion.h"
#include "converter/input_file.h"
#include "runtime/file_identity.h"

// The files handed over together, each converted as a conversion of its own, as many at once as the
// computer has processors: a failure of one stops none of the rest. Every MP3's path is decided before
// the first conversion starts, so that conversions side by side never meet on a name and no file of
// the list is lost to another: two inputs that would make one MP3 get different names ("talk.mp3",
// "talk (2).mp3"), an input of the list is never taken for an MP3 to replace, and neither is an MP3
// the list has made. Only an MP3 that was there before the list began is replaced.
class ConversionList {
 public:
  // Starts converting the files that `texts` name, at most `atOnce` at a time, with the converter.
  ConversionList(FileSystem& files, Conversion::Starter start, Converter converter, size_t atOnce,
                 const std::vector<std::wstring>& texts);
  // Stops what still runs, as Cancel does.
  ~ConversionList();

  // More files to convert with the rest; their MP3 paths are decided now, clear of all the others'.
  void Add(const std::vector<std::wstring>& texts);
  // How many files have begun, counted from the first, and how many there are.
  size_t Started() const { return next_; }
  size_t Count() const { return items_.size(); }
  // Notices the conversions that end, makes the calls on their MP3s whose time has come, and starts
  // the next files in their place. Whether every file has its outcome.
  bool Advance();
  // How much of the whole list is done, from 0 to 1: the files ended and the share of each running
  // one. None for a single file whose share is unknown.
  std::optional<double> Progress();
  // Starts no other file, and starts ending every converter that runs: the next ticks find them
  // ended and remove what they leave unfinished, or put in place an MP3 one had finished.
  void Stop();
  // The same at once, for when there is no later tick: waits for the stopped converters together,
  // and makes the calls left on their files once each.
  void Cancel();

  // What came of each file, in the order they were given; whole once Advance says the list has ended.
  std::vector<FileOutcome> Outcomes() const;

 private:
  // One file handed over.
  struct Item {
    InputFile input;
    FileOutcome outcome;
    std::unique_ptr<Conversion> conversion;  // while it converts
    bool toConvert;                          // else it has its outcome already
  };

  // Whether the item is converted, and to which MP3 path; else what came of it.
  void Decide(Item& item);
  // The path that the item's MP3 takes: its own name, unless another item has it or it is an input of
  // the list; then the first numbered name that is free. None where every name is taken.
  std::optional<std::wstring> ClaimMp3Path(const std::wstring& ownPath);
  // Whether an MP3 of the list has the path, or will have it.
  bool IsClaimed(const std::wstring& path) const;
  // Whether the path names a file handed over with the list.
  bool IsInput(const std::wstring& path);
  // Starts the next files while fewer than `atOnce` convert, noting those that cannot be converted.
  void StartWhatCan();
  size_t Running() const;

  FileSystem& files_;
  const Conversion::Starter start_;
  const Converter converter_;
  const size_t atOnce_;
  std::vector<Item> items_;
  size_t next_ = 0;  // the first item not begun
  std::vector<NamedFile> inputs_;
  std::vector<std::wstring> claimed_;
};
