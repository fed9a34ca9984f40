#include <gtest/gtest.h>

#include "app/texts.h"
#include "runtime/rules/text.h"
#include "runtime/child_process.h"
#include "tests/support/test_programs.h"
#include "tests/window/window_driver.h"

class StartupTest : public WindowTest {};

TEST_F(StartupTest, AFirstStartTicksTheBoxAndStoresIt) {
  Load();
  EXPECT_EQ(form->Check1.Value(), BST_CHECKED);
  EXPECT_EQ(StoredOption(), L"1");
}

TEST_F(StartupTest, TheStoredOptionIsRestored) {
  const std::vector<std::pair<std::wstring, short>> cases = {
      {L"0", BST_UNCHECKED}, {L"1", BST_CHECKED}, {L"2", BST_INDETERMINATE}};
  for (const auto& [stored, value] : cases) {
    StoreOption(stored);
    Load();
    EXPECT_EQ(form->Check1.Value(), value) << testing::PrintToString(stored);
    EXPECT_EQ(StoredOption(), stored);
  }
}

TEST_F(StartupTest, ADamagedStoredOptionFallsBackToTicked) {
  for (const wchar_t* damaged : {L"abc", L"", L"7", L"99999999999"}) {
    StoreOption(damaged);
    Load();
    EXPECT_EQ(form->Check1.Value(), BST_CHECKED) << testing::PrintToString(std::wstring(damaged));
    EXPECT_EQ(StoredOption(), L"1");
  }
}

TEST_F(StartupTest, EveryClickOnTheBoxIsStoredAtOnce) {
  Load();
  Click(form->Check1);
  EXPECT_EQ(form->Check1.Value(), BST_UNCHECKED);
  EXPECT_EQ(StoredOption(), L"0");
  Click(form->Check1);
  EXPECT_EQ(form->Check1.Value(), BST_CHECKED);
  EXPECT_EQ(StoredOption(), L"1");

  StoreOption(L"2");
  Load();
  Click(form->Check1);
  EXPECT_EQ(form->Check1.Value(), BST_CHECKED);
  EXPECT_EQ(StoredOption(), L"1");
  EXPECT_TRUE(world.starts.empty());
}

TEST_F(StartupTest, TheWindowIsTopmostWithItsIconsAndTheFocusOnAddVideo) {
  Load();
  EXPECT_TRUE(GetWindowLongW(form->hWnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(SendMessageW(form->hWnd(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(form->hWnd(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(GetFocus(), form->Command1.hWnd());
}

TEST_F(StartupTest, AVideoOnTheCommandLineIsConvertedBeforeTheWindowShows) {
  TempFolder folder;
  Load(L"\"" + (folder / L"clip.avi") + L"\"");
  EXPECT_EQ(form->Text1.Text(), folder / L"clip.avi");
  ASSERT_EQ(world.starts.size(), 1u);
  EXPECT_FALSE(world.starts[0].windowVisible);
  EXPECT_NE(world.starts[0].commandLine.find(L"clip.avi\" -f mp3 \"\\\\?\\" + (folder / L"clip.mp3.part\"")),
            std::wstring::npos);
  EXPECT_TRUE(IsWindowVisible(form->hWnd()));
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
  EXPECT_FALSE(form->Command1.Enabled());
  EXPECT_TRUE(form->Timer1.Enabled());
}

// As "Send to" and "Open with" pass several files: each is converted, two at once on two processors,
// and the title says how many have begun.
TEST_F(StartupTest, SeveralFilesOnTheCommandLineAreEachConverted) {
  Load(L"\"C:\\a.avi\" C:\\b.avi");
  EXPECT_EQ(form->Text1.Text(), L"\"C:\\a.avi\" \"C:\\b.avi\"");
  EXPECT_TRUE(world.messageBoxes.empty());
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
  wchar_t title[64] = {};
  GetWindowTextW(form->hWnd(), title, 64);
  EXPECT_EQ(std::wstring(title), WithInserts(texts::kTitleOfSeveral, {L"2", L"2"}));
}

// From Explorer's context menu and other Quillets: the files dropped on the one window start a list
// where none is under way, and else join the one under way, to end with it; each drop is answered once
// the window has its files in the list. One that comes in the middle of the list's last tick starts the
// next list after it.
TEST_F(StartupTest, FilesDroppedOnTheOneWindowStartAListOrJoinTheOneUnderWay) {
  TempFolder folder;
  Load();
  ASSERT_TRUE(world.Drop({folder / L"a.avi"}));
  ASSERT_EQ(world.starts.size(), 1u);
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
  EXPECT_TRUE(world.Drop({folder / L"b.avi", folder / L"c.avi"}));
  EXPECT_EQ(world.starts.size(), 2u);
  wchar_t title[64] = {};
  GetWindowTextW(form->hWnd(), title, 64);
  EXPECT_EQ(std::wstring(title), WithInserts(texts::kTitleOfSeveral, {L"2", L"3"}));
  for (size_t converter = 0; converter < 3; ++converter) {
    world.ConverterEnds(0, true, L"", converter);
    if (converter == 2) world.duringTaskbar = [&] { EXPECT_TRUE(world.Drop({folder / L"d.avi"})); };
    Tick();
  }
  EXPECT_EQ(form->Status.Caption(), texts::kCompleteStatus);
  EXPECT_EQ(StatusTipText(),
            std::wstring(texts::kCompleteStatus) + L"\n\na.avi: converted\nb.avi: converted\nc.avi: converted\n");
  EXPECT_EQ(world.starts.size(), 4u);
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
}

TEST_F(StartupTest, ATailOfQuotesOnlyNamesNoVideo) {
  Load(L"\"\"");
  EXPECT_EQ(form->Text1.Text(), L"");
  EXPECT_TRUE(world.starts.empty());
  ASSERT_EQ(world.messageBoxes.size(), 1u);
  EXPECT_EQ(world.messageBoxes[0].prompt, texts::kNoVideoMessage);
}

TEST_F(StartupTest, NoTailLeavesThePlaceholder) {
  Load(L"");
  EXPECT_EQ(form->Text1.Text(), texts::kPlaceholder);
  EXPECT_TRUE(world.starts.empty());
  EXPECT_TRUE(world.messageBoxes.empty());
}

class ShutdownTest : public WindowTest {
 protected:
  // A stand-in for a running converter: a copy of the stand-in named ffmpeg.exe, started as Quillet
  // starts its converter.
  UniqueKernelHandle StartRunningConverter() {
    const std::wstring path = folder / L"ffmpeg.exe";
    CopyFileW(StandInPath().c_str(), path.c_str(), FALSE);
    return StartChild(path, L"\"" + path + L"\" --sleep 60000", SW_HIDE).process;
  }
  void ExpectEnded(HWND window) {
    EXPECT_EQ(form->hWnd(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_TRUE(world.messageBoxes.empty());
  }

  TempFolder folder;
};

TEST_F(ShutdownTest, ClosingStopsTheConverterRemovesItsUnfinishedMp3AndEndsWithoutAQuestion) {
  auto converter = StartRunningConverter();
  Load();
  form->Text1.SetText(folder / L"clip.avi");
  Click(form->Command2);
  ASSERT_NE(GetFileAttributesW((folder / L"clip.mp3.part").c_str()), INVALID_FILE_ATTRIBUTES);
  const HWND window = form->hWnd();
  SendMessageW(window, WM_CLOSE, 0, 0);
  // Gone from the screen at once, taking no more files; the ticks that follow wait for the converter.
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(world.served);
  EXPECT_TRUE(PumpUntil([this] { return form->hWnd() == nullptr; }, 10000));
  EXPECT_TRUE(EndsWithin(converter.get(), 10000));
  ExpectEnded(window);
  EXPECT_EQ(GetFileAttributesW((folder / L"clip.mp3.part").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ShutdownTest, ClosingWhenIdleEndsTheSameWay) {
  Load();
  const HWND window = form->hWnd();
  SendMessageW(window, WM_CLOSE, 0, 0);
  ExpectEnded(window);
}

TEST_F(ShutdownTest, WindowsEndingTheSessionIsNeverRefusedAndEndsTheProgram) {
  auto converter = StartRunningConverter();
  Load();
  const HWND window = form->hWnd();
  EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageW(window, WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(EndsWithin(converter.get(), 10000));
  ExpectEnded(window);
}

TEST_F(ShutdownTest, AnUnexpectedFailureIsReportedAndEndsTheProgram) {
  world.answerDialog = [](OpenFileRequest&) { throw RuntimeError(ERROR_ACCESS_DENIED, L"The dialog failed"); };
  Load();
  const HWND window = form->hWnd();
  Click(form->Command1);
  ASSERT_EQ(world.messageBoxes.size(), 1u);
  EXPECT_NE(world.messageBoxes[0].prompt.find(L"The dialog failed"), std::wstring::npos);
  EXPECT_EQ(world.messageBoxes[0].title, texts::kAppTitle);
  EXPECT_EQ(world.messageBoxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(form->hWnd(), nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(TakeQuitMessage());
}
