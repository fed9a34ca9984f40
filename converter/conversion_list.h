#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "converter/conversion.h"
#include "converter/file_worker.h"
#include "converter/input_file.h"
#include "runtime/file_identity.h"

// The files handed over together, each converted as a conversion of its own, as many at once as the
// computer has processors: a failure of one stops none of the rest. Every MP3's path is decided before
// its file's conversion starts, so that conversions side by side never meet on a name and no file of
// the list is lost to another: two inputs that would make one MP3 get different names ("talk.mp3",
// "talk (2).mp3"), an input of the list is never taken for an MP3 to replace, and neither is an MP3
// the list has made. Only an MP3 that was there before the list began is replaced.
//
// The list's calls on files (each input's long name and identity, the claims of MP3 names, every step
// on the MP3s, finding the converter) are made one after another on a worker of its own; the ticks
// only read what it has finished and never wait for it.
class ConversionList {
 public:
  // Finds the converter that the list runs: on the worker, before the first file is decided.
  using FindConverter = std::function<ConverterProgram(FileSystem& files)>;

  // Begins converting the files that `texts` name, at most `atOnce` at a time. `stepDone` hears, on the
  // worker, of each of its steps that is done: the next tick may go on.
  ConversionList(FileSystem& files, Conversion::Starter start, FindConverter findConverter, size_t atOnce,
                 const std::vector<std::wstring>& texts, std::function<void()> stepDone = nullptr);
  ConversionList(const ConversionList&) = delete;
  ConversionList& operator=(const ConversionList&) = delete;

  // More files to convert with the rest; their MP3 paths are decided clear of all the others'.
  void Add(const std::vector<std::wstring>& texts);
  // How many files have begun, counted from the first, and how many there are.
  size_t Started() const { return next_; }
  size_t Count() const { return items_.size(); }
  // Notices the conversions that end and starts the next files in their place, as the worker has
  // decided them. Whether every file has its outcome.
  bool Advance();
  // How much of the whole list is done, from 0 to 1: the files ended and the share of each running
  // one. None for a single file whose share is unknown.
  std::optional<double> Progress();
  // Starts no other file, and starts ending every converter that runs: the next ticks find them ended
  // and have their unfinished MP3s removed, or an MP3 that one had finished put in place.
  void Stop();
  // The same at once, for when no tick will follow: waits at most until the deadline (GetTickCount64)
  // for the stopped converters and for the worker's steps, a busy file counting as one that failed.
  void FinishNow(ULONGLONG deadline);
  // Has the worker open a folder with the shell (see windows_shell.h's OpenWithShell): the folder, or
  // where its path is too long for the shell, the deepest folder above it that the shell takes. Once it
  // is done, FolderOpened() says which, "" where none opened.
  void OpenFolder(const std::wstring& folder, std::function<bool(const std::wstring& shellPath)> open);
  // Which folder opened, once; none before it is known, and after it was told.
  std::optional<std::wstring> TakeFolderOpened();

  // What came of each file, in the order they were given; whole once Advance says the list has ended.
  std::vector<FileOutcome> Outcomes() const;

 private:
  // What the worker decides of a file handed over: whether it is converted, and to which MP3 path;
  // else what came of it.
  struct Decision {
    std::wstring text;
    InputFile input;
    FileOutcome outcome;
    bool toConvert = false;
    std::atomic<bool> made{false};
  };
  // The list's names, kept on the worker alone: the converter, the inputs, the MP3 names claimed.
  struct Names;
  struct Item {
    std::shared_ptr<Decision> decision;
    std::unique_ptr<Conversion> conversion;  // while it converts
    FileOutcome outcome;                     // once it has ended
  };
  struct Opening {
    std::wstring opened;
    std::atomic<bool> done{false};
  };

  // Starts the next files while fewer than `atOnce` converters run, in their order, once each is decided.
  void StartWhatCan();
  size_t Running() const;

  FileSystem& files_;
  const Conversion::Starter start_;
  const size_t atOnce_;
  const std::shared_ptr<Names> names_;
  std::vector<Item> items_;
  size_t next_ = 0;  // the first item not begun
  std::shared_ptr<Opening> opening_;
  // Last: its steps hold on to what they use, and it goes first.
  FileWorker worker_;
};
