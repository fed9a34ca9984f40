#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/handles.h"
#include "runtime/rules/handover.h"

// One window for however many starts. Explorer's context menu starts Quillet once per selected file,
// within milliseconds of each other; a user expects one window, one list and one end. The first
// Quillet of a user's session shows the window, and each Quillet started with files after it hands
// them over through a pipe that only that user may open, and ends.

// Who the process is; none where that cannot be told.
std::optional<ProcessFacts> FactsOfProcess(HANDLE process);

// This Quillet's part in the choice of the one window: the first Quillet of the user's session to ask
// holds the part until it ends.
class OneWindow {
 public:
  // Whether the part is this Quillet's. Asked first where it must be known: before the window for a
  // Quillet started with files, after the window is shown for one without.
  bool IsMine();
  // Hands the files (full paths) to the Quillet whose window it is, trying for a while as that one
  // starts or ends; whether it took them. Where that one ends first, this one becomes the one window;
  // where it refuses them (it runs elevated, say), this one shows a window of its own.
  bool HandOver(const std::vector<std::wstring>& files);

 private:
  UniqueKernelHandle mutex_;
  bool asked_ = false;
  bool mine_ = false;
};

// What came of one attempt at handing the files to the one window: taken, refused (the sender is not
// one it takes files from), or no answer (there is none yet, or it is ending).
enum class Handover { Taken, Refused, NoAnswer };
Handover SendHandover(const std::vector<std::wstring>& files);

// The one window's end of the handover: takes what other Quillets hand over, on a thread of its own, as
// long as it lives, and posts the message to the window at each arrival; the window then takes the
// files. A handover from a process that `facts` says is no Quillet of this user at this integrity level
// or higher, or that is not a list of full paths, is refused.
class HandoverServer {
 public:
  using Facts = std::function<std::optional<ProcessFacts>(HANDLE process)>;
  HandoverServer(HWND window, UINT message, Facts facts = FactsOfProcess);
  HandoverServer(const HandoverServer&) = delete;
  HandoverServer& operator=(const HandoverServer&) = delete;
  // Takes no handover from now on.
  ~HandoverServer();

  // The lists of files handed over since the last call, in the order they came.
  std::vector<std::vector<std::wstring>> Take();

 private:
  void Serve();
  // Waits for the pipe's operation to complete, unless the server stops or the time passes first.
  bool Completes(OVERLAPPED& operation, DWORD milliseconds);
  // Reads one handover from the connected pipe and answers whether it was taken.
  void TakeOne(OVERLAPPED& operation);

  const HWND window_;
  const UINT message_;
  const Facts facts_;
  const std::optional<ProcessFacts> own_;
  const UniqueFileHandle pipe_;  // one end, for one sender at a time; the others wait their turn
  const UniqueKernelHandle stop_;
  std::mutex arrivedLock_;
  std::vector<std::vector<std::wstring>> arrived_;
  std::thread thread_;
};
