#include "runtime/one_window.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kArrived = WM_APP + 7;

}  // namespace

// What is told of the sender is stood in for where Wine cannot show it: every process there has one
// integrity level. A handover refused changes nothing; one taken is told to the window.
TEST(HandoverServer, TakesOnlyFullPathsFromAQuilletOfTheSameUserAndIntegrity) {
  struct Case {
    const char* what;
    unsigned long lowerBy;  // the sender's integrity level, below the window's
    std::vector<std::wstring> files;
    bool taken;
  };
  const std::vector<std::wstring> files = {L"C:\\Videos\\first video.mp4", L"\\\\nas\\music\\b.wav"};
  const std::vector<Case> cases = {
      {"from the same", 0, files, true},
      {"from a lower integrity level", 0x1000, files, false},
      {"not full paths", 0, {L"first video.mp4"}, false},
  };
  const HWND window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HandoverServer server(window, kArrived, [&c](HANDLE process) {
      std::optional<ProcessFacts> facts = FactsOfProcess(process);
      if (facts) facts->integrity -= c.lowerBy;
      return facts;
    });
    EXPECT_EQ(SendHandover(c.files), c.taken ? Handover::Taken : Handover::Refused);
    EXPECT_EQ(server.Take(),
              c.taken ? std::vector<std::vector<std::wstring>>{c.files} : std::vector<std::vector<std::wstring>>{});
    MSG message;
    EXPECT_EQ(PeekMessageW(&message, window, kArrived, kArrived, PM_REMOVE) != FALSE, c.taken);
  }
  DestroyWindow(window);
}
