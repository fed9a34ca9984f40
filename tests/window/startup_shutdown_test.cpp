#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

#include "app/texts.h"
#include "runtime/rules/command_line.h"
#include "runtime/rules/text.h"
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

// The window shows already converting, and the converter starts as soon as its file is reserved.
TEST_F(StartupTest, AVideoOnTheCommandLineIsConvertedAtOnce) {
  TempFolder folder;
  Load(L"\"" + (folder / L"clip.avi") + L"\"");
  EXPECT_EQ(form->Text1.Text(), folder / L"clip.avi");
  EXPECT_TRUE(IsWindowVisible(form->hWnd()));
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
  EXPECT_FALSE(form->Command1.Enabled());
  EXPECT_TRUE(form->Timer1.Enabled());
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 1; }, 5000));
  EXPECT_NE(world.starts[0].commandLine.find(L"clip.avi\" -f mp3 \"\\\\?\\" + (folder / L"clip.mp3.part\"")),
            std::wstring::npos);
}

// As "Send to" and "Open with" pass several files: each is converted, two at once on two processors,
// and the title says how many have begun.
TEST_F(StartupTest, SeveralFilesOnTheCommandLineAreEachConverted) {
  Load(L"\"C:\\a.avi\" C:\\b.avi");
  EXPECT_EQ(form->Text1.Text(), L"\"C:\\a.avi\" \"C:\\b.avi\"");
  EXPECT_TRUE(world.messageBoxes.empty());
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 2; }, 5000));
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
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 1; }, 5000));
  EXPECT_TRUE(world.Drop({folder / L"b.avi", folder / L"c.avi"}));
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 2; }, 5000));
  wchar_t title[64] = {};
  GetWindowTextW(form->hWnd(), title, 64);
  EXPECT_EQ(std::wstring(title), WithInserts(texts::kTitleOfSeveral, {L"2", L"3"}));
  bool droppedAtTheEnd = false;
  world.duringTaskbar = [&] {
    if (world.taskbar.back().first != TaskbarProgress::None || std::exchange(droppedAtTheEnd, true)) return;
    EXPECT_TRUE(world.Drop({folder / L"d.avi"}));
  };
  for (size_t converter = 0; converter < 3; ++converter) {
    ASSERT_TRUE(PumpUntil([&] { return world.starts.size() > converter; }, 5000));
    world.ConverterEnds(0, true, L"", converter);
  }
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 4; }, 5000));
  EXPECT_EQ(form->Status.Caption(), texts::kCompleteStatus);
  EXPECT_EQ(StatusTipText(),
            std::wstring(texts::kCompleteStatus) + L"\n\na.avi: converted\nb.avi: converted\nc.avi: converted\n");
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

class ShutdownTest : public ConversionTest {
 protected:
  void ExpectEnded(HWND window) {
    EXPECT_EQ(form->hWnd(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_TRUE(world.messageBoxes.empty());
  }
  // The converter holds its unfinished MP3 open until it has ended.
  std::wstring HoldingItsFile(size_t index) {
    world.Process(index).holds = OpenShared(world.ConverterOutput(index), FILE_SHARE_READ | FILE_SHARE_WRITE);
    return world.ConverterOutput(index);
  }
};

// The window goes at once and takes no more files; the controller stops the converter, and the ticks
// that follow remove what it leaves once it has ended, or end the program at the close's deadline where
// it never does.
TEST_F(ShutdownTest, ClosingStopsTheConverterRemovesItsUnfinishedMp3AndEndsWithoutAQuestion) {
  for (const bool stuck : {false, true}) {
    SCOPED_TRACE(stuck ? "a converter that never ends" : "a converter that ends");
    StartConversion();
    const std::wstring unfinished = HoldingItsFile(0);
    // Stuck in a call that never returns (on a share that has gone), it ends not even when told to.
    world.Process().stuck = stuck;
    const HWND window = form->hWnd();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(world.served);
    EXPECT_TRUE(world.Process().terminated);
    EXPECT_TRUE(PumpUntil([this] { return form->hWnd() == nullptr; }, 11000));
    ExpectEnded(window);
    EXPECT_EQ(GetFileAttributesW(unfinished.c_str()) == INVALID_FILE_ATTRIBUTES, !stuck);
    world.Process().holds.reset();
    world.starts.clear();
  }
}

// A share that stalls in the middle of a list of four (QUILLET_STALL_SECONDS, 2 unless told) holds up
// the list's calls on files, never the window: it answers every message within a second, its title and
// taskbar follow the converter still at work, and a close hides it at once; once the share answers, what
// was held up is tidied before the program ends.
TEST_F(ShutdownTest, AShareThatStallsHoldsUpNeitherTheWindowNorItsClose) {
  const char* seconds = std::getenv("QUILLET_STALL_SECONDS");
  const DWORD stall = (seconds ? std::strtoul(seconds, nullptr, 10) : 2) * 1000;
  Load();
  form->Text1.SetText(PathsAsText({folder / L"a.avi", folder / L"b.avi", folder / L"c.avi", folder / L"d.avi"}));
  Click(form->Command2);
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 2; }, 5000));
  const HWND window = form->hWnd();
  world.files.Stall();
  world.ConverterEnds(0, true, L"", 0);
  world.Process(1).newErrorBytes = "  Duration: 00:00:10.00, start: 0.000000\nsize=  40kB time=00:00:05.00 bitrate=\r";
  const size_t shown = world.taskbar.size();
  DWORD longest = 0;
  std::thread asking([&] {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < stall;) {
      const DWORD asked = GetTickCount();
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
      longest = std::max(longest, GetTickCount() - asked);
      Sleep(50);
    }
    // A window held up by the share would otherwise wait for it for ever.
    if (longest >= 1000) world.files.LetGo();
  });
  PumpUntil([] { return false; }, stall + 500);
  asking.join();
  std::printf("The window's longest answer while the share stalled for %lu s: %lu ms\n", stall / 1000, longest);
  EXPECT_LT(longest, 1000u);
  EXPECT_GT(world.taskbar.size(), shown);
  EXPECT_EQ(world.taskbar.back(), std::make_pair(TaskbarProgress::Normal, 0.125));
  EXPECT_GT(world.files.Waiting(), 0);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  world.files.LetGo();
  EXPECT_TRUE(PumpUntil([this] { return form->hWnd() == nullptr; }, 10000));
  EXPECT_EQ(ReadFileBytes(folder / L"a.mp3"), "ID3 music");
  EXPECT_EQ(GetFileAttributesW((folder / L"b.mp3.part").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(world.starts.size(), 2u);
}

TEST_F(ShutdownTest, ClosingWhenIdleEndsTheSameWay) {
  Load();
  const HWND window = form->hWnd();
  SendMessageW(window, WM_CLOSE, 0, 0);
  ExpectEnded(window);
}

// No tick follows the end of the session, also where it comes in the middle of one: before the window
// has answered, the converter still running is stopped and its file removed, and the MP3 of one that
// ended since the last tick is in its place.
TEST_F(ShutdownTest, WindowsEndingTheSessionIsNeverRefusedAndTidiesBeforeItAnswers) {
  Load();
  form->Text1.SetText(L"\"" + (folder / L"a.avi") + L"\" \"" + (folder / L"b.avi") + L"\"");
  Click(form->Command2);
  ASSERT_TRUE(PumpUntil([this] { return world.starts.size() == 2; }, 5000));
  const std::wstring unfinished = HoldingItsFile(1);
  // As on Windows, it ends some time after it is told to.
  world.Process(1).endsWhenWaitedFor = true;
  const HWND window = form->hWnd();
  bool ended = false;
  world.duringTaskbar = [&] {
    if (std::exchange(ended, true)) return;
    world.ConverterEnds(0, true, L"", 0);
    EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(world.Process(1).terminated);
    EXPECT_EQ(GetFileAttributesW(unfinished.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFileBytes(folder / L"a.mp3"), "ID3 music");
  };
  // The tenth tick shows the progress on the taskbar.
  for (int tick = 0; tick < 10 && form->hWnd(); ++tick) Tick();
  EXPECT_TRUE(ended);
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
