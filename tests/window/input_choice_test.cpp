#include <windows.h>
#include <cderr.h>

#include <gtest/gtest.h>

#include "app/texts.h"
#include "tests/window/window_driver.h"

class InputChoiceTest : public WindowTest {};

TEST_F(InputChoiceTest, AddVideoShowsTheDialogAndTakesTheChosenFile) {
  world.answerDialog = [](OpenFileRequest& request) { request.fileName = L"C:\\Videos\\clip.avi"; };
  Load();
  Click(form->Command1);
  ASSERT_EQ(world.dialogRequests.size(), 1u);
  const OpenFileRequest& shown = world.dialogRequests[0];
  EXPECT_EQ(shown.title, L"Add Videos");
  EXPECT_EQ(shown.flags, 0x280200u);
  EXPECT_EQ(shown.maxFileSize, 5000u);
  EXPECT_EQ(shown.fileName, L"");
  EXPECT_EQ(form->Text1.Text(), L"C:\\Videos\\clip.avi");
  EXPECT_TRUE(world.starts.empty());
}

// Each showing starts where the last choice was made: from the file chosen, or in the folder of several
// with no name, since their quoted list is no name the dialog takes. One that fails for another reason
// than Cancel is shown once more without a start name, and one that cannot hand over all the files
// chosen says so.
TEST_F(InputChoiceTest, TheDialogStartsFromTheLastChoice) {
  const auto answer = [this](const std::wstring& fileName, DWORD error = 0) {
    world.answerDialog = [fileName, error](OpenFileRequest& request) {
      request.fileName = fileName;
      request.error = error;
    };
  };
  answer(L"C:\\Videos\\first.avi");
  Load();
  Click(form->Command1);
  answer(L"\"C:\\Videos\\a.avi\" \"C:\\Videos\\b.avi\"");
  Click(form->Command1);
  EXPECT_EQ(world.dialogRequests[1].fileName, L"C:\\Videos\\first.avi");
  answer(L"C:\\Other\\second.avi");
  Click(form->Command1);
  EXPECT_EQ(world.dialogRequests[2].fileName, L"");
  EXPECT_EQ(world.dialogRequests[2].initialFolder, L"C:\\Videos\\");
  EXPECT_EQ(form->Text1.Text(), L"C:\\Other\\second.avi");

  // As Windows refuses a start name it cannot take.
  world.answerDialog = [](OpenFileRequest& request) {
    request.error = request.fileName.empty() ? 0 : FNERR_INVALIDFILENAME;
    request.fileName = request.fileName.empty() ? L"C:\\Videos\\third.avi" : L"";
  };
  world.dialogRequests.clear();
  Click(form->Command1);
  ASSERT_EQ(world.dialogRequests.size(), 2u);
  EXPECT_EQ(world.dialogRequests[1].fileName, L"");
  EXPECT_EQ(form->Text1.Text(), L"C:\\Videos\\third.avi");

  answer(L"", FNERR_BUFFERTOOSMALL);
  world.dialogRequests.clear();
  Click(form->Command1);
  EXPECT_EQ(world.dialogRequests.size(), 1u);
  ASSERT_EQ(world.messageBoxes.size(), 1u);
  EXPECT_EQ(world.messageBoxes[0].prompt, texts::kTooManyChosenMessage);
  EXPECT_EQ(form->Text1.Text(), L"C:\\Videos\\third.avi");
}

TEST_F(InputChoiceTest, CancelLeavesTheTextAsItWas) {
  Load();
  Click(form->Command1);
  EXPECT_EQ(form->Text1.Text(), texts::kPlaceholder);

  world.answerDialog = [](OpenFileRequest& request) { request.fileName = L"C:\\Videos\\chosen.avi"; };
  Click(form->Command1);
  DropFiles(form->hWnd(), {L"C:\\Videos\\dropped.avi"});
  world.answerDialog = [](OpenFileRequest& request) { request.fileName = L""; };
  Click(form->Command1);
  EXPECT_EQ(form->Text1.Text(), L"C:\\Videos\\dropped.avi");
}

TEST_F(InputChoiceTest, FilesDroppedAnywhereOnTheWindowAreWhatIsConverted) {
  Load();
  const std::vector<std::pair<const wchar_t*, HWND>> targets = {
      {L"form", form->hWnd()},
      {L"Text1", form->Text1.hWnd()},
      {L"Frame1", form->Frame1.hWnd()},
      {L"Command1", form->Command1.hWnd()},
      {L"Command2", form->Command2.hWnd()},
      {L"Label1", form->Label1.hWnd()},
      {L"Label2", form->Label2.hWnd()},
      {L"Label3", form->Label3.hWnd()},
      {L"Label4", form->Label4.hWnd()},
      {L"Status", form->Status.hWnd()},
  };
  for (const auto& [name, target] : targets) {
    const std::wstring first = std::wstring(L"C:\\Dropped on ") + name + L"\\Видео.mkv";
    DropFiles(target, {first, L"C:\\Videos\\second.avi"});
    EXPECT_EQ(form->Text1.Text(), L"\"" + first + L"\" \"C:\\Videos\\second.avi\"");
    DropFiles(target, {first});
    EXPECT_EQ(form->Text1.Text(), first);
  }
  EXPECT_TRUE(world.starts.empty());
}

// Also from Explorer to an elevated Quillet: every window that takes drops lets their messages in.
TEST_F(InputChoiceTest, TheCheckBoxTakesNoDropsOfItsOwn) {
  Load();
  EXPECT_FALSE(GetWindowLongW(form->Check1.hWnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_TRUE(GetWindowLongW(form->hWnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  const std::set<UINT> dropMessages = {WM_DROPFILES, WM_COPYDATA, 0x0049};
  for (const Control* control : {&form->Text1, &form->Frame1, &form->Command1, &form->Command2, &form->Label1,
                                 &form->Label2, &form->Label3, &form->Label4, &form->Status}) {
    EXPECT_EQ(world.allowedFromBelow[control->hWnd()], dropMessages);
  }
  EXPECT_EQ(world.allowedFromBelow.count(form->Check1.hWnd()), 0u);
  std::set<UINT> formMessages = dropMessages;
  formMessages.insert(RegisterWindowMessageW(L"TaskbarButtonCreated"));
  EXPECT_EQ(world.allowedFromBelow[form->hWnd()], formMessages);
}

TEST_F(InputChoiceTest, ADropWithoutFilesChangesNothing) {
  Load();
  form->Text1.SetText(L"C:\\Videos\\kept.avi");
  DropFiles(form->Text1.hWnd(), {});
  EXPECT_EQ(form->Text1.Text(), L"C:\\Videos\\kept.avi");
  EXPECT_TRUE(world.messageBoxes.empty());
  EXPECT_NE(form->hWnd(), nullptr);
}
