#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "converter/conversion_list.h"
#include "runtime/controls.h"
#include "runtime/outside_world.h"

// The converter controller, the window's one door to converting: it converts the files the window asks
// it to, takes more into the list under way, tells the window at each tick of its timer how the list
// comes along, and stops it. It alone stops what its list started: on request it ends every converter
// and tidies what they leave on the ticks that follow, until the close's deadline; when it goes, it ends
// whatever still runs.
class Tovrandel1 {
 public:
  // Holds the window's own timer from now until it goes, and meets the outside world through `world`:
  // the files, the converters it starts, the processors, the shell.
  Tovrandel1(Timer& windowTimer, OutsideWorld& world);
  Tovrandel1(const Tovrandel1&) = delete;
  Tovrandel1& operator=(const Tovrandel1&) = delete;
  // Ends every converter still running; where no close came first, also tidies what they leave, within
  // the end of the session's deadline.
  ~Tovrandel1();

  // Starts the command line hidden, then enables the timer with a 500 ms period. A command that
  // cannot be started leaves the timer as it was; no failure reaches the caller.
  void ConvertMedia(const std::wstring& CommandString);
  // Starts ending every converter that this Quillet runs, and has no more started; the ticks that
  // follow tidy what they leave, until the close's deadline (see Stopped). No failure reaches the caller.
  void CancelConvert();

  // Converts the files that the texts name, as many at once as the computer has processors.
  void ConvertFiles(const std::vector<std::wstring>& texts);
  // Whether a list is under way, which more files may join.
  bool Converting() const { return list_ && !ended_; }
  // More files for the list under way.
  void TakeMore(const std::vector<std::wstring>& texts);

  // What a tick finds: the outcome of every file, in the order given, once the list under way has
  // ended; none before.
  std::optional<std::vector<FileOutcome>> Tick();
  // How many files of the list have begun, and how many there are.
  size_t Started() const { return list_ ? list_->Started() : 0; }
  size_t Count() const { return list_ ? list_->Count() : 0; }
  // How much of the list is done, from 0 to 1; none for a single file whose share is unknown.
  std::optional<double> Share() { return list_ ? list_->Progress() : std::nullopt; }

  // Opens the folder with the shell once the list has ended; FolderOpened() then says, once, which folder
  // did (the folder, or the deepest one above it that the shell takes), "" where none; none before.
  void OpenFolder(const std::wstring& folder);
  std::optional<std::wstring> FolderOpened() { return list_ ? list_->TakeFolderOpened() : std::nullopt; }

  // What the controller can tell its owner. It raises none of them today.
  struct Events {
    std::function<void()> Converting;
    std::function<void(const std::wstring& Output)> DataOutput;
    std::function<void()> Complete;
    std::function<void(const std::wstring& ErrorMessage)> ErrorEvent;
  };
  Events events;

  // Whether CancelConvert has begun the close.
  bool Stopping() const { return stopBy_ != 0; }
  // Tidies after the stopped converters as far as the ticks so far allow: whether all is done, or the
  // close's time is up.
  bool Stopped();
  // For when no tick will follow (the end of the session): waits on this thread, within a deadline, for
  // the stopped converters and the steps left on their files.
  void FinishNow();

 private:
  void LaunchCommand(const std::wstring& commandLine);

  Timer& Timer1;
  OutsideWorld& world_;
  std::unique_ptr<ConversionList> list_;
  bool ended_ = false;    // the list has told its end
  ULONGLONG stopBy_ = 0;  // the close's deadline, once CancelConvert began it
};
