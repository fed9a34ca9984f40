#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "converter/converter_location.h"
#include "converter/converter_progress.h"
#include "converter/file_outcome.h"
#include "converter/file_worker.h"
#include "converter/output_file.h"
#include "runtime/outside_world.h"

// One conversion of a file to an MP3 beside it, from the start of its converter to the last step on
// its MP3, moved along by the list's ticks on the window's thread: the converter is started and watched
// there, and every call on its files is made on the list's worker. Whatever cannot be done is no
// exception: it is the conversion's outcome.
class Conversion {
 public:
  // Starts a command line hidden, at the priority; throws RuntimeError when it cannot.
  using Starter =
      std::function<std::unique_ptr<StartedProcess>(const std::wstring& commandLine, ProcessPriority priority)>;

  // Has the worker reserve the unfinished MP3 beside `mp3Path`; the converter starts, writing into it,
  // on the tick that finds it made. Both paths are full ones.
  Conversion(FileWorker& worker, FileSystem& files, Starter start, ConverterProgram converter, std::wstring inputPath,
             std::wstring mp3Path, OutputFile::ListFiles list, ProcessPriority priority);
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;

  // Starts the converter once its file is reserved, notices its end and judges it, and has the worker
  // put its MP3 in place or remove it. Whether the conversion has ended: Outcome() then says how.
  bool Advance();
  // How much of the input the MP3 holds so far, from 0 to 1; none while that is unknown. Reads what
  // the converter wrote since the last look.
  std::optional<double> Progress();
  // Lets the converter have less of the processors than the user's own programs: from its start where it
  // has not started yet, else if it still runs.
  void LowerPriority();
  // Starts ending the converter, if it runs, through the process Quillet holds; one not started yet
  // never starts. What it leaves unfinished is removed on the ticks that follow.
  void Stop();
  // For when no tick will follow: waits at most until the deadline (GetTickCount64) for a stopped
  // converter to end, and from then on the worker takes a busy file for one that failed.
  void Hurry(ULONGLONG deadline);

  // Whether its converter is to run or runs: once it has ended, the worker's last steps on the MP3 take
  // no processor, and another converter may start.
  bool TakesAProcessor() const { return stage_ == Stage::Reserving || stage_ == Stage::Converting; }

  const FileOutcome& Outcome() const { return outcome_; }

 private:
  // What the worker does and finds, shared with it: it may outlive the conversion.
  struct Files {
    Files(FileSystem& files, std::wstring mp3Path, OutputFile::ListFiles list)
        : output(files, std::move(mp3Path), std::move(list)) {}
    OutputFile output;
    DWORD reserveError = ERROR_SUCCESS;
    ConverterEnd end;       // as judged, with whether the converter wrote its file
    bool complete = false;  // the MP3 is complete, and put in place
    std::atomic<bool> reserved{false}, done{false};
  };
  enum class Stage { Reserving, Converting, Finishing, Ended };

  void Start();
  // Once the converter has ended: what it did, and what becomes of its MP3.
  void Judge();
  // Has the worker put the MP3 in place where `judged` says it is complete, else remove it.
  void Finish(std::optional<ConverterEnd> judged);
  void ReadConverterMessages();

  FileWorker& worker_;
  const Starter start_;
  const ConverterProgram converter_;
  const std::wstring inputPath_;
  ProcessPriority priority_;
  const std::shared_ptr<Files> files_;
  Stage stage_ = Stage::Reserving;
  std::unique_ptr<StartedProcess> process_;  // null until started, and where it could not be
  bool stopped_ = false;
  ConverterProgress progress_;
  std::string messages_;  // the end of what the converter wrote to its error stream
  FileOutcome outcome_;
};
