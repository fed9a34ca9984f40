#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "converter/converter_location.h"
#include "converter/converter_progress.h"
#include "converter/file_outcome.h"
#include "converter/output_file.h"
#include "runtime/outside_world.h"

// One conversion of a file to an MP3 beside it, from the start of its converter to the last step on
// its MP3. Whatever cannot be done is no exception: it is the conversion's outcome.
class Conversion {
 public:
  // Starts a command line hidden, at the priority; throws RuntimeError when it cannot.
  using Starter =
      std::function<std::unique_ptr<StartedProcess>(const std::wstring& commandLine, ProcessPriority priority)>;

  // Reserves the unfinished MP3 beside `mp3Path` and starts the converter through `start`, writing
  // into it. Both paths are full ones.
  Conversion(FileSystem& files, const Starter& start, const Converter& converter, std::wstring inputPath,
             std::wstring mp3Path, OutputFile::ListFiles list, ProcessPriority priority);
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;
  // Stops a converter that still runs; what it leaves unfinished goes with the MP3's file.
  ~Conversion();

  // Notices the converter's end, judges it, and makes the calls on its MP3 whose time has come.
  // Whether the conversion has ended; Outcome() then says how.
  bool Advance();
  // How much of the input the MP3 holds so far, from 0 to 1; none while that is unknown. Reads what
  // the converter wrote since the last look.
  std::optional<double> Progress();
  // Lets the converter, if it still runs, have less of the processors than the user's own programs.
  void LowerPriority();
  // Starts ending the converter, if it still runs, through the process Quillet holds.
  void Stop();
  // Waits at most until the deadline (GetTickCount64) for a stopped converter to let go of its files.
  void WaitUntilStopped(ULONGLONG deadline);
  // Ends the conversion now: its unfinished MP3 goes, unless the converter had finished it, which
  // then takes its place (see OutputFile::FinishNow).
  void FinishNow();

  const FileOutcome& Outcome() const { return outcome_; }

 private:
  // Once the converter has ended: what it did, and whether its MP3 takes its place or goes.
  void Judge();
  void ReadConverterMessages();

  const std::wstring inputPath_;
  OutputFile output_;
  std::unique_ptr<StartedProcess> process_;  // null when the converter could not be started
  bool stopped_ = false;
  bool waited_ = false;
  bool judged_ = false;
  ConverterProgress progress_;
  std::string messages_;  // the end of what the converter wrote to its error stream
  FileOutcome outcome_;
};
