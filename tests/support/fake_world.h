#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "runtime/outside_world.h"
#include "runtime/runtime_error.h"
#include "tests/support/windows_like_file_system.h"

// What a stand-in converter process does, set by the test while the window watches it.
struct FakeProcessState {
  bool running = true;
  DWORD exitCode = 0;
  std::string newErrorBytes;  // taken by the next read of what is new
  int probes = 0;
  bool terminated = false;
  bool lowered = false;  // its priority, after it started
  // As Windows ends a process some time after it is told to: the process ends only once it is waited
  // for, and until then keeps open what it holds.
  bool endsWhenWaitedFor = false;
  // As a process stuck in a call that never returns (on a share that is gone): it never ends, and each
  // wait for it lasts as long as asked (a second at most), and a little longer.
  bool stuck = false;
  std::vector<DWORD> waitsAsked;
  UniqueFileHandle holds;
};

// The outside world as a test sees it: every message box, dialog, shell opening, sound and process
// start is recorded, and the test decides the answers. Files are real.
class FakeWorld : public OutsideWorld {
 public:
  struct MessageBoxCall {
    std::wstring prompt;
    UINT style;
    std::wstring title;
  };
  struct StartCall {
    std::wstring program;
    std::wstring commandLine;
    ProcessPriority priority;
    bool windowVisible;
    std::shared_ptr<FakeProcessState> process;
  };

  int MsgBox(HWND owner, const std::wstring& prompt, UINT style, const std::wstring& title) override;
  void ShowOpen(HWND owner, OpenFileRequest& request) override;
  bool ShellOpen(const std::wstring& target) override;
  void Beep(UINT soundType) override;
  void ShowTaskbarProgress(HWND window, TaskbarProgress state, double share) override;
  void TaskbarButtonCreated(HWND) override { taskbar.emplace_back(TaskbarProgress::None, -1); }
  void AllowMessageFromBelow(HWND window, UINT message) override { allowedFromBelow[window].insert(message); }
  FileSystem& Files() override { return files; }
  std::unique_ptr<StartedProcess> StartHidden(const std::wstring& program, const std::wstring& commandLine,
                                              ProcessPriority priority) override;
  unsigned LogicalProcessors() override { return processors; }
  void ServeFiles(std::function<bool(const std::vector<std::wstring>& files)> take) override { served = take; }
  void StopServingFiles() override { served = nullptr; }

  // Real files, with Windows' limit on the length of plain paths.
  WindowsLikeFileSystem files;
  std::vector<MessageBoxCall> messageBoxes;
  std::vector<OpenFileRequest> dialogRequests;
  std::vector<std::wstring> opened;
  std::vector<UINT> sounds;
  std::vector<StartCall> starts;
  std::vector<std::pair<TaskbarProgress, double>> taskbar;  // a new button is recorded as (None, -1)
  std::map<HWND, std::set<UINT>> allowedFromBelow;

  // How the user answers the dialog: the chosen file name, "" for Cancel.
  std::function<void(OpenFileRequest&)> answerDialog = [](OpenFileRequest& request) { request.fileName = L""; };
  // Runs inside each taskbar call, a call into Explorer that runs sent messages and drops meanwhile.
  std::function<void()> duringTaskbar;
  // The shell opens nothing, as where no program is set for folders.
  bool shellRefuses = false;
  // What the next process to start does (each start takes it and leaves a fresh one); a failure
  // instead when set.
  std::shared_ptr<FakeProcessState> nextProcess = std::make_shared<FakeProcessState>();
  std::optional<RuntimeError> startFailure;
  // The window whose visibility each start records.
  HWND watchedWindow = nullptr;
  unsigned processors = 2;
  // Where the files dropped on the one window go while it serves them.
  std::function<bool(const std::vector<std::wstring>& files)> served;

  // The files dropped on the one window, as Explorer's verb or another Quillet drops them: whether the
  // window took them.
  bool Drop(const std::vector<std::wstring>& files) { return served && served(files); }
  // The converter process started `index`th, from 0, or the one started last.
  FakeProcessState& Process(size_t index = kLast);
  // The file that the converter was told to write: the last path on its command line.
  std::wstring ConverterOutput(size_t index = kLast) const;
  // The converter ends with the exit code, having written its output or not, and with `said` on its
  // error stream.
  void ConverterEnds(DWORD exitCode, bool wroteMp3, const std::wstring& said = L"", size_t index = kLast);

  static constexpr size_t kLast = ~size_t{0};
};
