#include "runtime/rules/handover.h"

#include <gtest/gtest.h>

TEST(MayHandOver, OnlyAQuilletOfTheSameUserAtTheSameOrAHigherIntegrityLevel) {
  const ProcessFacts elevated{L"S-1-5-21-1-2-3-1001", 0x3000, L"Quillet.exe"};
  struct Case {
    const char* what;
    ProcessFacts sender;
    bool taken;
  };
  const std::vector<Case> cases = {
      {"another Quillet, elevated too", {L"S-1-5-21-1-2-3-1001", 0x3000, L"QUILLET.EXE"}, true},
      {"a sandboxed browser's tab", {L"S-1-5-21-1-2-3-1001", 0x1000, L"Quillet.exe"}, false},
      {"the user's Quillet, not elevated", {L"S-1-5-21-1-2-3-1001", 0x2000, L"Quillet.exe"}, false},
      {"another user's Quillet", {L"S-1-5-21-1-2-3-1002", 0x3000, L"Quillet.exe"}, false},
      {"a program that is no Quillet", {L"S-1-5-21-1-2-3-1001", 0x3000, L"quillet_probe.exe"}, false},
      {"a process whose user is not known", {L"", 0x3000, L"Quillet.exe"}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(MayHandOver(c.sender, elevated), c.taken) << c.what;
}

TEST(HandedOverFiles, AreAListOfFullPathsOrNone) {
  using Files = std::vector<std::wstring>;
  const Files files = {L"C:\\Users\\ana\\Videos\\first video.mp4", L"\\\\nas\\music\\second.wav"};
  EXPECT_EQ(HandedOverFiles(HandoverMessage(files)), files);
  EXPECT_EQ(HandedOverFiles(HandoverMessage(std::vector<std::wstring>(1001, files[0]))), std::nullopt);
  for (const std::wstring& message : {std::wstring(), std::wstring(L"clip.avi\0", 9), std::wstring(L"C:\\a.avi"),
                                      std::wstring(L"C:\\a.avi\0\0", 10), std::wstring(L"C:\\a\nb.avi\0", 11)}) {
    EXPECT_EQ(HandedOverFiles(message), std::nullopt) << testing::PrintToString(message);
  }
}
