#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "runtime/win32_outside_world.h"
#include "tests/support/test_programs.h"

namespace {

// Waits for the dialog titled "Add Videos" on another thread and answers it as a user does.
void AnswerTheDialog(const std::function<void(HWND dialog)>& answer) {
  HWND dialog = nullptr;
  for (int i = 0; i < 200 && !(dialog = FindWindowW(L"#32770", L"Add Videos")); ++i) Sleep(50);
  if (dialog) answer(dialog);
}

}  // namespace

// The real dialog and its glue, which every window test stands in for: Cancel hands back nothing,
// even when the dialog opened with an earlier choice, and a typed name comes back whole.
TEST(OpenFileDialog, CancelGivesNothingAndATypedNameComesBackWhole) {
  TempFolder folder;
  const std::wstring typed = folder / L"typed clip.avi";
  WriteFileBytes(typed, "RIFF");
  const std::vector<std::pair<std::function<void(HWND)>, std::wstring>> answers = {
      {[](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }, L""},
      {[&typed](HWND dialog) {
         // The file name box: an edit control, or the edit inside a combo box, as the system draws it.
         for (int id : {0x480, 0x47c}) SetDlgItemTextW(dialog, id, typed.c_str());
         PostMessageW(dialog, WM_COMMAND, IDOK, 0);
       },
       typed},
  };
  Win32OutsideWorld world;
  for (const auto& [answer, chosen] : answers) {
    OpenFileRequest request{OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_LONGNAMES, L"Add Videos",
                            L"All Video/Audio Files|*.avi|All files|*.*", 5000, L"", folder / L"an earlier choice.avi"};
    std::thread user(AnswerTheDialog, answer);
    world.ShowOpen(nullptr, request);
    user.join();
    EXPECT_EQ(request.fileName, chosen);
    EXPECT_EQ(request.error, 0u);
  }
}
