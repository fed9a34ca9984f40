#include "converter/file_worker.h"

#include <algorithm>
#include <deque>
#include <utility>

namespace {

// How long the worker's going waits for a step under way: far longer than a call on a disk takes, far
// shorter than one on a share that stalls.
constexpr DWORD kStepUnderWayWait = 2000;

}  // namespace

DWORD MillisecondsUntil(ULONGLONG deadline) {
  const ULONGLONG now = GetTickCount64();
  return static_cast<DWORD>(deadline > now ? std::min<ULONGLONG>(deadline - now, INFINITE - 1) : 0);
}

// What the window's thread and the worker share. Windows' own lock and condition hold no kernel object,
// so a list leaves none behind however busy its worker was.
struct FileWorker::Queued {
  explicit Queued(std::function<void()> done) : stepDone(std::move(done)) {}
  const std::function<void()> stepDone;
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
  std::deque<std::pair<ULONGLONG, Step>> steps;  // each with the time it is due
  bool working = false;                          // a step is being made
  bool stopping = false;

  // Holds the lock while it lives.
  class Held {
   public:
    explicit Held(Queued& queued) : lock_(queued.lock) { AcquireSRWLockExclusive(&lock_); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() { ReleaseSRWLockExclusive(&lock_); }

   private:
    SRWLOCK& lock_;
  };
  // Lets go of the lock until the condition changes or the time is up.
  void Wait(DWORD milliseconds) { SleepConditionVariableSRW(&changed, &lock, milliseconds, 0); }
};

// A thread of Windows' own, which leaves no kernel object behind once it has ended: the worker holds its
// share of what it works on until then.
FileWorker::FileWorker(std::function<void()> stepDone) : queued_(std::make_shared<Queued>(std::move(stepDone))) {
  auto* held = new std::shared_ptr<Queued>(queued_);
  thread_.reset(CreateThread(nullptr, 0, Work, held, 0, nullptr));
  if (!thread_) delete held;
}

FileWorker::~FileWorker() {
  {
    const Queued::Held held(*queued_);
    queued_->stopping = true;
    queued_->steps.clear();
  }
  WakeAllConditionVariable(&queued_->changed);
  WaitForSingleObject(thread_.get(), kStepUnderWayWait);
}

void FileWorker::Queue(Step step) {
  {
    const Queued::Held held(*queued_);
    queued_->steps.emplace_back(0, std::move(step));
  }
  WakeAllConditionVariable(&queued_->changed);
}

bool FileWorker::WaitUntilDone(ULONGLONG deadline) {
  const Queued::Held held(*queued_);
  for (;;) {
    if (queued_->steps.empty() && !queued_->working) return true;
    if (MillisecondsUntil(deadline) == 0) return false;
    queued_->Wait(MillisecondsUntil(deadline));
  }
}

DWORD WINAPI FileWorker::Work(void* held) {
  const std::unique_ptr<std::shared_ptr<Queued>> owned(static_cast<std::shared_ptr<Queued>*>(held));
  Queued* const queued = owned->get();
  AcquireSRWLockExclusive(&queued->lock);
  while (!queued->stopping) {
    const ULONGLONG now = GetTickCount64();
    // The first step whose time has come, in the order they were queued.
    const auto due = std::find_if(queued->steps.begin(), queued->steps.end(),
                                  [now](const auto& queuedStep) { return queuedStep.first <= now; });
    if (due == queued->steps.end()) {
      const auto soonest = std::min_element(queued->steps.begin(), queued->steps.end(),
                                            [](const auto& a, const auto& b) { return a.first < b.first; });
      queued->Wait(soonest == queued->steps.end() ? INFINITE : MillisecondsUntil(soonest->first));
      continue;
    }
    Step step = std::move(due->second);
    queued->steps.erase(due);
    queued->working = true;
    ReleaseSRWLockExclusive(&queued->lock);
    std::optional<ULONGLONG> again;
    try {
      again = step();
    } catch (...) {
      // Each step tells its owner of its own failures, and lets none escape.
    }
    AcquireSRWLockExclusive(&queued->lock);
    queued->working = false;
    if (again && !queued->stopping) queued->steps.emplace_back(*again, std::move(step));
    if (!again && !queued->stopping && queued->stepDone) queued->stepDone();
    WakeAllConditionVariable(&queued->changed);
  }
  ReleaseSRWLockExclusive(&queued->lock);
  return 0;
}
