#include "converter/process_kill.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/child_process.h"
#include "tests/support/test_programs.h"

namespace {

struct Copy {
  std::wstring imageName;
  bool startedByQuillet;
  bool shouldEnd;
};

struct RunningCopy : Copy {
  UniqueKernelHandle process;
};

// Copies of the stand-in under the given image names, each in a folder of its own and running:
// started as Quillet starts its converter, or by some other program.
std::vector<RunningCopy> StartCopies(const TempFolder& folder, const std::vector<Copy>& wanted) {
  std::vector<RunningCopy> copies;
  int index = 0;
  for (const Copy& spec : wanted) {
    RunningCopy& copy = copies.emplace_back();
    static_cast<Copy&>(copy) = spec;
    const std::wstring subfolder = folder / std::to_wstring(index++);
    CreateDirectoryW(subfolder.c_str(), nullptr);
    const std::wstring path = subfolder + L"\\" + copy.imageName;
    EXPECT_TRUE(CopyFileW(StandInPath().c_str(), path.c_str(), FALSE));
    copy.process = copy.startedByQuillet ? StartChild(path, L"\"" + path + L"\" --sleep 60000", SW_HIDE).process
                                         : StartProgram(path, L"--sleep 60000");
  }
  return copies;
}

void StopAll(std::vector<RunningCopy>& copies) {
  for (auto& copy : copies) {
    TerminateProcess(copy.process.get(), 99);
    WaitForSingleObject(copy.process.get(), 5000);
  }
}

}  // namespace

TEST(KillProcessByName, EndsEveryOwnProcessWhoseImageNameEndsWithTheNameInAnyCase) {
  TempFolder folder;
  auto copies = StartCopies(folder, {{L"ffmpeg.exe", true, true},
                                     {L"FFMPEG.EXE", true, true},
                                     {L"FFmpeg.Exe", true, true},
                                     {L"myffmpeg.exe", true, true},
                                     {L"ffmpeg.exe.old", true, false},
                                     {L"ffmpeg", true, false},
                                     {L"ffmpeg.ex", true, false},
                                     {L"stand_in.exe", true, false},
                                     // A user's own encoding job, or another Quillet's converter.
                                     {L"ffmpeg.exe", false, false}});

  KillProcessByName(L"FFMPEG.EXE");

  for (auto& copy : copies) {
    SCOPED_TRACE(testing::PrintToString(copy.imageName) + (copy.startedByQuillet ? " (own)" : " (foreign)"));
    if (copy.shouldEnd) {
      EXPECT_TRUE(EndsWithin(copy.process.get(), 10000)) << "still running";
      EXPECT_EQ(ExitCodeOf(copy.process.get()), 0u);
    } else {
      EXPECT_FALSE(EndsWithin(copy.process.get(), 500)) << "ended";
    }
  }
  StopAll(copies);
}

TEST(KillProcessByName, AnEmptyNameEndsNothing) {
  TempFolder folder;
  auto copies = StartCopies(folder, {{L"ffmpeg.exe", true, false}});
  KillProcessByName(L"");
  EXPECT_FALSE(EndsWithin(copies[0].process.get(), 500));
  StopAll(copies);
}
