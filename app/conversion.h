#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "converter/converter_progress.h"
#include "runtime/outside_world.h"

// How a conversion ended.
struct ConversionResult {
  std::wstring failure{};  // why it failed, in plain words; "" when the MP3 is complete and in place
  std::wstring mp3Path{};  // where the complete MP3 is; "" when there is none
  std::wstring note{};     // what the user must know of a complete conversion, in plain words; mostly ""
};

// The converter that a conversion runs: its path, and its name as the user is told it.
struct Converter {
  std::wstring path;
  std::wstring name;
};

// One conversion of a file to an MP3 beside it, from the start of its converter to its end. The
// converter writes into an unfinished file of Quillet's making; only a complete MP3 takes its name.
// Whatever cannot be done is no exception: it is the conversion's failure, told by Finish.
class Conversion {
 public:
  // Starts a command line hidden; throws RuntimeError when it cannot.
  using Starter = std::function<std::unique_ptr<StartedProcess>(const std::wstring& commandLine)>;
  // Whether an MP3 of another conversion has the path, or will have it.
  using Claimed = std::function<bool(const std::wstring& path)>;

  // Reserves the unfinished MP3 beside `mp3Path` and starts the converter through `start`, writing
  // into it. Both paths are full ones. A complete MP3 that must be kept under another name never takes
  // one that is claimed.
  Conversion(FileSystem& files, const Starter& start, Converter converter, std::wstring inputPath,
             std::wstring mp3Path, Claimed claimed = [](const std::wstring&) { return false; });
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;

  // Whether the converter still runs; false also when none could be started.
  bool IsRunning();
  // How much of the input the MP3 holds so far, from 0 to 1; none while that is unknown. Reads what
  // the converter wrote since the last look.
  std::optional<double> Progress();
  // Once the converter has ended: judges how, and puts the MP3 in its place or discards it.
  ConversionResult Finish();
  // Cuts it short: ends the converter through the process Quillet holds, waits until it has let go
  // of its files, and removes the unfinished MP3.
  void Cancel();

 private:
  void ReadConverterMessages();

  FileSystem& files_;
  const Converter converter_;
  const std::wstring inputPath_;
  const std::wstring mp3Path_;
  const Claimed claimed_;
  std::wstring unfinishedPath_;              // "" when none could be made
  std::unique_ptr<StartedProcess> process_;  // null when the converter could not be started
  std::wstring startFailure_;
  ConverterProgress progress_;
  std::string messages_;  // the end of what the converter wrote to its error stream
};
