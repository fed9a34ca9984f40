#include "converter/tovrandel1.h"

#include <gtest/gtest.h>

#include "runtime/child_process.h"
#include "runtime/win32_outside_world.h"
#include "tests/support/test_programs.h"

namespace {

// A window to own the timer, as the main window owns its Timer1.
class TimerOwner {
 public:
  TimerOwner() : window_(CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)) {}
  ~TimerOwner() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// The controller as the window makes it, meeting the real outside world.
class Controller {
 public:
  explicit Controller(Timer& timer) : controller(timer, world) {}
  Win32OutsideWorld world;
  Tovrandel1 controller;
};

UniqueKernelHandle StartConverterStandIn(const TempFolder& folder, const std::wstring& subfolder) {
  CreateDirectoryW((folder / subfolder).c_str(), nullptr);
  const std::wstring path = folder / (subfolder + L"\\ffmpeg.exe");
  EXPECT_TRUE(CopyFileW(StandInPath().c_str(), path.c_str(), FALSE));
  return StartChild(path, L"\"" + path + L"\" --sleep 60000", SW_HIDE).process;
}

}  // namespace

TEST(Tovrandel1, ConvertMediaStartsTheCommandThenArmsTheTimerAt500Ms) {
  TimerOwner owner;
  Timer timer(owner.get(), 7, 100);
  Controller made(timer);
  Tovrandel1& controller = made.controller;
  TempFolder folder;
  const std::wstring program = folder / L"worker.exe";
  ASSERT_TRUE(CopyFileW(StandInPath().c_str(), program.c_str(), FALSE));

  controller.ConvertMedia(L"\"" + program + L"\" --sleep 3000");

  EXPECT_EQ(ProcessesNamed(L"worker.exe").size(), 1u);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 500u);
  for (DWORD id : ProcessesNamed(L"worker.exe")) {
    const UniqueKernelHandle worker(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    TerminateProcess(worker.get(), 0);
    WaitForSingleObject(worker.get(), 5000);
  }
}

TEST(Tovrandel1, ConvertMediaWithAMissingProgramLeavesTheTimerAlone) {
  TimerOwner owner;
  Timer timer(owner.get(), 7, 100);
  Controller made(timer);
  Tovrandel1& controller = made.controller;
  TempFolder folder;

  controller.ConvertMedia(L"\"" + (folder / L"missing.exe") + L"\" -y");

  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 100u);
}

TEST(Tovrandel1, CancelConvertEndsEveryRunningConverterAndMayBeRepeated) {
  TimerOwner owner;
  Timer timer(owner.get(), 7, 100);
  Controller made(timer);
  Tovrandel1& controller = made.controller;
  TempFolder folder;
  auto first = StartConverterStandIn(folder, L"a");
  auto second = StartConverterStandIn(folder, L"b");

  controller.CancelConvert();
  EXPECT_TRUE(EndsWithin(first.get(), 10000));
  EXPECT_TRUE(EndsWithin(second.get(), 10000));
  EXPECT_EQ(ExitCodeOf(first.get()), 0u);

  controller.CancelConvert();
  EXPECT_FALSE(timer.Enabled());
}

TEST(Tovrandel1, ReleasingTheControllerEndsRunningConverters) {
  TimerOwner owner;
  Timer timer(owner.get(), 7, 100);
  TempFolder folder;
  auto converter = StartConverterStandIn(folder, L"a");
  {
    Controller made(timer);
    EXPECT_FALSE(EndsWithin(converter.get(), 300));
  }
  EXPECT_TRUE(EndsWithin(converter.get(), 10000));
}

// The window converts as many files at once as this says.
TEST(Win32OutsideWorld, CountsEveryProcessorWindowsReports) {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  EXPECT_EQ(Win32OutsideWorld().LogicalProcessors(), system.dwNumberOfProcessors);
}
