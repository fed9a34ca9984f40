#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "runtime/handles.h"

// The time left until the deadline (a time of GetTickCount64), as a wait: none once it has passed,
// never INFINITE.
DWORD MillisecondsUntil(ULONGLONG deadline);

// The calls of a list on files, made one after another on a thread of the list's own, so that a call
// that waits on a disk or a share (a NAS waking up, a VPN that has just dropped) never holds up the
// window: Windows greys out a window that has taken no message for 5 s. The window's thread queues the
// steps and its ticks read what they leave behind; they never wait for the worker.
class FileWorker {
 public:
  // A step: one call on a file, or a few that belong together, made on the worker. It answers when it
  // is to be made again (a time of GetTickCount64), to go on or to try a busy file once more, or none
  // when it is done.
  using Step = std::function<std::optional<ULONGLONG>()>;

  // `stepDone` hears, on the worker, of each step that is done, so that the ticks need not wait for
  // their period to read what it left.
  explicit FileWorker(std::function<void()> stepDone = nullptr);
  FileWorker(const FileWorker&) = delete;
  FileWorker& operator=(const FileWorker&) = delete;
  // The steps not begun are dropped. A step under way is waited for a moment; one that waits on a share
  // for longer is left to finish on its own, and nothing after it runs.
  ~FileWorker();

  // Runs the step after those queued before it, and again whenever it asks to.
  void Queue(Step step);
  // Waits at most until the deadline (GetTickCount64) for every step to be done: for when no tick will
  // follow. Whether they are.
  bool WaitUntilDone(ULONGLONG deadline);

 private:
  struct Queued;
  static DWORD WINAPI Work(void* queued);

  const std::shared_ptr<Queued> queued_;
  UniqueKernelHandle thread_;
};
