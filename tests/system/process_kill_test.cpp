#include "converter/process_kill.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/system/test_programs.h"

namespace {

struct RunningCopy {
  std::wstring imageName;
  bool shouldMatch;
  UniqueKernelHandle process;
};

// Copies of the stand-in under the given image names, each in a folder of its own and running.
std::vector<RunningCopy> StartCopies(const TempFolder& folder, std::vector<std::pair<std::wstring, bool>> names) {
  std::vector<RunningCopy> copies;
  int index = 0;
  for (auto& [name, shouldMatch] : names) {
    const std::wstring subfolder = folder / std::to_wstring(index++);
    CreateDirectoryW(subfolder.c_str(), nullptr);
    const std::wstring path = subfolder + L"\\" + name;
    EXPECT_TRUE(CopyFileW(StandInPath().c_str(), path.c_str(), FALSE));
    copies.push_back({name, shouldMatch, StartProgram(path, L"--sleep 60000")});
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

TEST(KillProcessByName, EndsEveryProcessWhoseImageNameEndsWithTheNameInAnyCase) {
  TempFolder folder;
  auto copies = StartCopies(folder, {{L"ffmpeg.exe", true},
                                     {L"FFMPEG.EXE", true},
                                     {L"FFmpeg.Exe", true},
                                     {L"myffmpeg.exe", true},
                                     {L"ffmpeg.exe.old", false},
                                     {L"ffmpeg", false},
                                     {L"ffmpeg.ex", false},
                                     {L"stand_in.exe", false}});

  KillProcessByName(L"FFMPEG.EXE");

  for (auto& copy : copies) {
    if (copy.shouldMatch) {
      EXPECT_TRUE(EndsWithin(copy.process.get(), 10000)) << "still running: " << testing::PrintToString(copy.imageName);
      EXPECT_EQ(ExitCodeOf(copy.process.get()), 0u) << testing::PrintToString(copy.imageName);
    } else {
      EXPECT_FALSE(EndsWithin(copy.process.get(), 500)) << "ended: " << testing::PrintToString(copy.imageName);
    }
  }
  StopAll(copies);
}

TEST(KillProcessByName, AnEmptyNameEndsNothing) {
  TempFolder folder;
  auto copies = StartCopies(folder, {{L"ffmpeg.exe", false}});
  KillProcessByName(L"");
  EXPECT_FALSE(EndsWithin(copies[0].process.get(), 500));
  StopAll(copies);
}
