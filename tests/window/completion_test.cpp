#include <gtest/gtest.h>

#include "app/texts.h"
#include "runtime/files.h"
#include "tests/window/window_driver.h"

class CompletionTest : public ConversionTest {
 protected:
  void ExpectIdleAgain() {
    EXPECT_FALSE(form->Timer1.Enabled());
    EXPECT_TRUE(form->Command1.Enabled());
    EXPECT_TRUE(form->Command2.Enabled());
    EXPECT_EQ(form->Command2.Caption(), L"Convert to MP3");
  }
};

TEST_F(CompletionTest, WhileTheConverterRunsTheWindowStaysBusy) {
  StartConversion();
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(world.nextProcess->probes, 3);
  EXPECT_EQ(form->Command2.Caption(), L"Converting Video. Please be patient.");
  EXPECT_FALSE(form->Command1.Enabled());
  EXPECT_TRUE(form->Timer1.Enabled());
  EXPECT_EQ(form->Status.Caption(), texts::kStatusStartText);
  EXPECT_TRUE(world.sounds.empty());
}

// In an ordinary folder and in one whose path is too long for Windows' plain form, where an MP3 of the
// same name is replaced and the folder opened by its short name.
TEST_F(CompletionTest, ASuccessPutsTheMp3UnderItsNameAndOpensItsFolder) {
  for (const std::wstring& videos : {folder.Path(), DeepFolder(folder)}) {
    SCOPED_TRACE(testing::PrintToString(videos));
    world.opened.clear();
    world.sounds.clear();
    world.nextProcess = std::make_shared<FakeProcessState>();
    if (videos != folder.Path()) WriteFileBytes(videos + L"\\clip.mp3", "an old MP3");
    StartConversion(videos);
    ConverterEnds(0, true);
    Tick();
    EXPECT_EQ(form->Status.Caption(),
              L"Conversion complete! To download videos from YouTube, click here to get Tovrandel");
    ExpectIdleAgain();
    EXPECT_EQ(ReadFileBytes(videos + L"\\clip.mp3"), "ID3 music");
    EXPECT_EQ(GetFileAttributesW(ConverterOutput().c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(world.opened.size(), 1u);
    EXPECT_LT(world.opened[0].size(), static_cast<size_t>(MAX_PATH));
    EXPECT_TRUE(IsSameFile(world.files, world.opened[0], videos));
    EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONASTERISK});
    world.starts.clear();
  }
}

TEST_F(CompletionTest, TheFolderOpensOnlyWhenTheBoxIsTicked) {
  for (short value : {0, 2}) {
    world.opened.clear();
    world.nextProcess = std::make_shared<FakeProcessState>();
    StartConversion();
    form->Check1.SetValue(value);
    ConverterEnds(0, true);
    Tick();
    EXPECT_EQ(form->Status.Caption(), texts::kCompleteStatus);
    EXPECT_TRUE(world.opened.empty()) << "value " << value;
    world.starts.clear();
  }
}

// Whatever the failure, no file is left under the MP3's name or the unfinished one, and an MP3 that
// was there before is untouched.
TEST_F(CompletionTest, AFailureIsReportedInPlainWordsAndLeavesNoMp3) {
  struct Case {
    DWORD exitCode;
    bool wroteMp3;
    std::wstring said;
    std::wstring status;
  };
  const std::wstring input = L"\\\\?\\" + (folder / L"clip.avi");
  const std::vector<Case> cases = {
      {1, false, L"ffmpeg version 4.1\r\n" + input + L": Invalid data found when processing input\r\n",
       L"Conversion failed: Invalid data found when processing input"},
      {0, false, L"", L"Conversion failed: ffmpeg.exe finished but wrote no MP3"},
      {0, true, L"  Duration: 00:30:00.00, start: 0.000000\nsize=    3552kB time=00:03:47.40 bitrate= 128.0kbits/s\r",
       L"Conversion failed: the MP3 stops at 3:47 of 30:00"},
  };
  WriteFileBytes(folder / L"clip.mp3", "the user's old MP3");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.status));
    world.sounds.clear();
    world.nextProcess = std::make_shared<FakeProcessState>();
    StartConversion();
    ConverterEnds(c.exitCode, c.wroteMp3, c.said);
    Tick();
    EXPECT_EQ(form->Status.Caption(), c.status);
    EXPECT_EQ(StatusTipText(), c.status);
    ExpectIdleAgain();
    EXPECT_TRUE(world.opened.empty());
    EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONHAND});
    EXPECT_EQ(ReadFileBytes(folder / L"clip.mp3"), "the user's old MP3");
    EXPECT_EQ(GetFileAttributesW(ConverterOutput().c_str()), INVALID_FILE_ATTRIBUTES);
    world.starts.clear();
  }
}

TEST_F(CompletionTest, AConverterThatCouldNotStartIsReportedAtTheFirstTick) {
  world.startFailure = RuntimeError(ERROR_FILE_NOT_FOUND, L"Cannot start");
  StartConversion();
  Tick();
  EXPECT_EQ(form->Status.Caption(), L"Conversion failed: ffmpeg.exe was not found in the program's folder");
  ExpectIdleAgain();
  EXPECT_TRUE(world.opened.empty());
  EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONHAND});
}

TEST_F(CompletionTest, ADropDuringTheConversionDoesNotRedirectTheFolder) {
  StartConversion();
  DropFiles(form->hWnd(), {L"D:\\Elsewhere\\next.avi"});
  EXPECT_EQ(form->Text1.Text(), L"D:\\Elsewhere\\next.avi");
  ConverterEnds(0, true);
  Tick();
  EXPECT_EQ(world.opened, std::vector<std::wstring>{folder.Path() + L"\\"});
}

TEST_F(CompletionTest, ATickThatArrivesWhileTheLastIsAtWorkReturnsAtOnce) {
  StartConversion();
  world.duringShellOpen = [this] { Tick(); };
  ConverterEnds(0, true);
  Tick();
  EXPECT_EQ(world.opened.size(), 1u);
  EXPECT_EQ(world.sounds.size(), 1u);
  EXPECT_EQ(world.nextProcess->probes, 1);
}

TEST_F(CompletionTest, TheTimerNoticesTheEndByItself) {
  StartConversion();
  ConverterEnds(0, true);
  EXPECT_TRUE(PumpUntil([this] { return form->Status.Caption() == texts::kCompleteStatus; }, 5000));
  ExpectIdleAgain();
}

TEST_F(CompletionTest, TheNextConversionKeepsTheLastStatusUntilItEnds) {
  StartConversion();
  ConverterEnds(0, true);
  Tick();
  world.nextProcess = std::make_shared<FakeProcessState>();
  Click(form->Command2);
  EXPECT_EQ(world.starts.size(), 2u);
  EXPECT_EQ(form->Status.Caption(), texts::kCompleteStatus);
  EXPECT_EQ(form->Command2.Caption(), L"Converting Video. Please be patient.");
}

TEST_F(CompletionTest, TheStatusLineOpensThePublishersPage) {
  Load();
  ClickStatus();
  EXPECT_EQ(world.opened, std::vector<std::wstring>{texts::kPublisherPage});
}

// On "Convert to MP3" after a press of it, or on the check box where the user went meanwhile.
TEST_F(CompletionTest, TheFocusGoesBackWhereTheUserLeftIt) {
  Load();
  form->Text1.SetText(folder / L"clip.avi");
  SetFocus(form->Command2.hWnd());
  Click(form->Command2);
  ConverterEnds(0, true);
  Tick();
  EXPECT_EQ(GetFocus(), form->Command2.hWnd());

  world.nextProcess = std::make_shared<FakeProcessState>();
  Click(form->Command2);
  SetFocus(form->Check1.hWnd());
  ConverterEnds(0, true);
  Tick();
  EXPECT_EQ(GetFocus(), form->Check1.hWnd());
}
