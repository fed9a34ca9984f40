#include <gtest/gtest.h>

#include "app/texts.h"
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

TEST_F(CompletionTest, ASuccessIsReportedAndTheFolderOfTheMp3Opened) {
  StartConversion();
  ConverterEnds(0, true);
  Tick();
  EXPECT_EQ(form->Status.Caption(),
            L"Conversion complete! To download videos from YouTube, click here to get Tovrandel");
  ExpectIdleAgain();
  EXPECT_EQ(world.opened, std::vector<std::wstring>{folder.Path() + L"\\"});
  EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONASTERISK});
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

TEST_F(CompletionTest, AConverterThatFailsIsReportedInItsOwnWords) {
  StartConversion();
  ConverterEnds(1, false, L"ffmpeg version 4.1\r\nC:\\v\\bad.avi: Invalid data found when processing input\r\n");
  Tick();
  EXPECT_EQ(form->Status.Caption(), L"Conversion failed: C:\\v\\bad.avi: Invalid data found when processing input");
  ExpectIdleAgain();
  EXPECT_TRUE(world.opened.empty());
  EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONHAND});
}

TEST_F(CompletionTest, ExitCodeZeroWithoutAnMp3IsNoSuccess) {
  StartConversion();
  ConverterEnds(0, false);
  Tick();
  EXPECT_EQ(form->Status.Caption(), L"Conversion failed: ffmpeg.exe finished but wrote no MP3");
  EXPECT_TRUE(world.opened.empty());
  EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONHAND});
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
