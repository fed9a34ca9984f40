#include "tests/support/fake_world.h"

#include <algorithm>
#include <utility>

#include "tests/support/test_programs.h"

namespace {

class FakeProcess : public StartedProcess {
 public:
  explicit FakeProcess(std::shared_ptr<FakeProcessState> state) : state_(std::move(state)) {}
  DWORD Id() const override { return 4242; }
  bool IsRunning() override {
    ++state_->probes;
    return state_->running;
  }
  bool WaitUntilEnded(DWORD milliseconds) override {
    state_->waitsAsked.push_back(milliseconds);
    // Windows' timer rounds a wait up to its next tick.
    if (state_->stuck) Sleep(std::min<DWORD>(milliseconds, 1000) + 16);
    if (state_->running && state_->terminated && !state_->stuck && milliseconds > 0) End();
    return !state_->running;
  }
  void Terminate() override {
    state_->terminated = true;
    if (!state_->endsWhenWaitedFor && !state_->stuck) End();
  }
  void LowerPriority() override { state_->lowered = true; }
  DWORD ExitCode() override { return state_->exitCode; }
  std::string ReadNewErrorOutput() override {
    return std::exchange(state_->newErrorBytes, "");
  }

 private:
  void End() {
    state_->running = false;
    state_->holds.reset();
  }

  std::shared_ptr<FakeProcessState> state_;
};

}  // namespace

int FakeWorld::MsgBox(HWND, const std::wstring& prompt, UINT style, const std::wstring& title) {
  messageBoxes.push_back({prompt, style, title});
  return IDOK;
}

void FakeWorld::ShowOpen(HWND, OpenFileRequest& request) {
  dialogRequests.push_back(request);
  answerDialog(request);
}

// As Windows' shell, which takes plain paths shorter than MAX_PATH only.
bool FakeWorld::ShellOpen(const std::wstring& target) {
  if (shellRefuses || target.size() >= MAX_PATH || target.rfind(L"\\\\?\\", 0) == 0) return false;
  opened.push_back(target);
  return true;
}

void FakeWorld::Beep(UINT soundType) { sounds.push_back(soundType); }

void FakeWorld::ShowTaskbarProgress(HWND, TaskbarProgress state, double share) {
  taskbar.emplace_back(state, share);
  if (duringTaskbar) duringTaskbar();
}

std::unique_ptr<StartedProcess> FakeWorld::StartHidden(const std::wstring& program, const std::wstring& commandLine,
                                                       ProcessPriority priority) {
  starts.push_back({program, commandLine, priority, watchedWindow && IsWindowVisible(watchedWindow), nextProcess});
  nextProcess = std::make_shared<FakeProcessState>();
  if (startFailure) throw *startFailure;
  return std::make_unique<FakeProcess>(starts.back().process);
}

FakeProcessState& FakeWorld::Process(size_t index) {
  return *starts.at(index == kLast ? starts.size() - 1 : index).process;
}

std::wstring FakeWorld::ConverterOutput(size_t index) const {
  const std::wstring& commandLine = starts.at(index == kLast ? starts.size() - 1 : index).commandLine;
  const auto closingQuote = commandLine.rfind(L'"');
  const auto openingQuote = commandLine.rfind(L'"', closingQuote - 1);
  return commandLine.substr(openingQuote + 1, closingQuote - openingQuote - 1);
}

void FakeWorld::ConverterEnds(DWORD exitCode, bool wroteMp3, const std::wstring& said, size_t index) {
  if (wroteMp3) WriteFileBytes(ConverterOutput(index), "ID3 music");
  FakeProcessState& converter = Process(index);
  converter.exitCode = exitCode;
  converter.newErrorBytes += Utf8(said);
  converter.running = false;
}
