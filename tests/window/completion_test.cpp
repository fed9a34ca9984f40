#include <gtest/gtest.h>

#include "app/paths.h"
#include "runtime/rules/path_text.h"
#include "app/texts.h"
#include "runtime/rules/text.h"
#include "runtime/file_identity.h"
#include "tests/window/window_driver.h"

class CompletionTest : public ConversionTest {
 protected:
  void ExpectIdleAgain() {
    EXPECT_FALSE(form->Timer1.Enabled());
    EXPECT_TRUE(form->Command1.Enabled());
    EXPECT_TRUE(form->Command2.Enabled());
    EXPECT_EQ(form->Command2.Caption(), texts::kIdleCaption);
  }
};

TEST_F(CompletionTest, WhileTheConverterRunsTheWindowStaysBusy) {
  StartConversion();
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(world.Process().probes, 3);
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
  EXPECT_FALSE(form->Command1.Enabled());
  EXPECT_FALSE(form->Command2.Enabled());
  EXPECT_TRUE(form->Timer1.Enabled());
  EXPECT_EQ(form->Status.Caption(), texts::kStatusStartText);
  EXPECT_TRUE(world.sounds.empty());
}

// A folder whose path is too long for the shell opens by its 8.3 name, or where the drive has none,
// the deepest folder above it opens, and the status line says so; as it says where none opens.
TEST_F(CompletionTest, ASuccessIsToldAndTheMp3sFolderOpened) {
  const std::wstring deep = DeepFolder(folder);
  std::wstring above = deep + L"\\";
  while (above.size() >= MAX_PATH) above = ParentFolder(above);
  struct Case {
    std::wstring videos;
    bool shortNames;
    std::wstring opened;  // "" where the shell opens none
    std::wstring status;
  };
  const std::vector<Case> cases = {
      {folder.Path(), true, folder.Path(), texts::kCompleteStatus},
      {deep, true, deep, texts::kCompleteStatus},
      {deep, false, above, WithInserts(texts::kCompleteWithNote, {WithInserts(texts::kFolderAbove, {above})})},
      {folder.Path(), true, L"", WithInserts(texts::kCompleteWithNote, {texts::kFolderNotOpened})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.videos) + (c.shortNames ? " with 8.3 names" : " without 8.3 names"));
    world.opened.clear();
    world.sounds.clear();
    world.files.shortNames = c.shortNames;
    world.shellRefuses = c.opened.empty();
    StartConversion(c.videos);
    ConverterEnds(0, true);
    UntilTheEnd();
    EXPECT_EQ(form->Status.Caption(), c.status);
    ExpectIdleAgain();
    EXPECT_EQ(ReadFileBytes(c.videos + L"\\clip.mp3"), "ID3 music");
    ASSERT_EQ(world.opened.size(), c.opened.empty() ? 0u : 1u);
    if (!c.opened.empty()) {
      EXPECT_TRUE(IsSameFile(world.files, world.opened[0], c.opened));
    }
    EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONASTERISK});
    DeleteFileW((L"\\\\?\\" + c.videos + L"\\clip.mp3").c_str());
    world.starts.clear();
  }
}

TEST_F(CompletionTest, TheFolderOpensOnlyWhenTheBoxIsTicked) {
  for (short value : {0, 2}) {
    world.opened.clear();
    StartConversion();
    form->Check1.SetValue(value);
    ConverterEnds(0, true);
    UntilTheEnd();
    EXPECT_EQ(form->Status.Caption(), texts::kCompleteStatus);
    EXPECT_TRUE(world.opened.empty()) << "value " << value;
    world.starts.clear();
  }
}

// Whatever the converter's words: those are made elsewhere.
TEST_F(CompletionTest, AFailureIsToldWholeInTheTipWithTheErrorSound) {
  StartConversion();
  const std::wstring reason = L"a converter's reason, longer than the status line: " + std::wstring(200, L'x');
  ConverterEnds(1, false, reason);
  UntilTheEnd();
  const std::wstring status = texts::kFailedStatusPrefix + reason;
  EXPECT_EQ(form->Status.Caption(), status);
  EXPECT_EQ(StatusTipText(), status);
  ExpectIdleAgain();
  EXPECT_TRUE(world.opened.empty());
  EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONHAND});
}

TEST_F(CompletionTest, AConverterThatCouldNotStartIsReportedAsAFailure) {
  world.startFailure = RuntimeError(ERROR_ACCESS_DENIED, L"Cannot start");
  StartConversion();
  UntilTheEnd();
  EXPECT_EQ(form->Status.Caption(),
            texts::kFailedStatusPrefix + WithInserts(texts::kConverterNotStarted, {L"ffmpeg.exe", SystemMessage(5)}));
  ExpectIdleAgain();
  EXPECT_TRUE(world.opened.empty());
  EXPECT_EQ(world.sounds, std::vector<UINT>{MB_ICONHAND});
}

TEST_F(CompletionTest, ADropDuringTheConversionDoesNotRedirectTheFolder) {
  StartConversion();
  DropFiles(form->hWnd(), {L"D:\\Elsewhere\\next.avi"});
  EXPECT_EQ(form->Text1.Text(), L"D:\\Elsewhere\\next.avi");
  ConverterEnds(0, true);
  UntilTheEnd();
  EXPECT_EQ(world.opened, std::vector<std::wstring>{folder.Path() + L"\\"});
}

TEST_F(CompletionTest, ATickThatArrivesWhileTheLastIsAtWorkReturnsAtOnce) {
  StartConversion();
  world.duringTaskbar = [this] { Tick(); };
  ConverterEnds(0, true);
  UntilTheEnd();
  EXPECT_EQ(world.opened.size(), 1u);
  EXPECT_EQ(world.sounds.size(), 1u);
  EXPECT_EQ(world.Process().probes, 1);
}

TEST_F(CompletionTest, TheTimerNoticesTheEndByItself) {
  StartConversion();
  ConverterEnds(0, true);
  UntilTheEnd();
  EXPECT_EQ(form->Status.Caption(), texts::kCompleteStatus);
  ExpectIdleAgain();
}

TEST_F(CompletionTest, TheNextConversionKeepsTheLastStatusUntilItEnds) {
  StartConversion();
  ConverterEnds(0, true);
  UntilTheEnd();
  Click(form->Command2);
  EXPECT_TRUE(PumpUntil([this] { return world.starts.size() == 2; }, 5000));
  EXPECT_EQ(form->Status.Caption(), texts::kCompleteStatus);
  EXPECT_EQ(form->Command2.Caption(), texts::kBusyCaption);
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
  EXPECT_TRUE(PumpUntil([this] { return world.starts.size() == 1; }, 5000));
  ConverterEnds(0, true);
  UntilTheEnd();
  EXPECT_EQ(GetFocus(), form->Command2.hWnd());

  Click(form->Command2);
  SetFocus(form->Check1.hWnd());
  EXPECT_TRUE(PumpUntil([this] { return world.starts.size() == 2; }, 5000));
  ConverterEnds(0, true);
  UntilTheEnd();
  EXPECT_EQ(GetFocus(), form->Check1.hWnd());
}
