#include <gtest/gtest.h>

#include "app/texts.h"
#include "tests/support/test_programs.h"
#include "tests/window/window_driver.h"

class ConversionStartTest : public WindowTest {
 protected:
  void ExpectIdleAndNothingStarted() {
    EXPECT_EQ(form->Command2.Caption(), texts::kIdleCaption);
    EXPECT_TRUE(form->Command1.Enabled());
    EXPECT_TRUE(form->Command2.Enabled());
    EXPECT_FALSE(form->Timer1.Enabled());
    EXPECT_TRUE(world.starts.empty());
  }
};

TEST_F(ConversionStartTest, WithoutAVideoTheUserIsToldHowToAddOne) {
  Load();
  for (const wchar_t* noVideo : {texts::kPlaceholder, L"", L"   "}) {
    form->Text1.SetText(noVideo);
    world.messageBoxes.clear();
    Click(form->Command2);
    ASSERT_EQ(world.messageBoxes.size(), 1u);
    EXPECT_EQ(world.messageBoxes[0].prompt, texts::kNoVideoMessage);
    EXPECT_EQ(world.messageBoxes[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(world.messageBoxes[0].title, texts::kAppTitle);
    ExpectIdleAndNothingStarted();
  }
}

// Web addresses, ffmpeg's own protocols and options never reach the converter; a relative path (the
// placeholder in other letter case, say) is a file in the current folder.
TEST_F(ConversionStartTest, OnlyFilesOnThisComputerOrAShareAreConverted) {
  TempFolder folder;
  const std::wstring current = CurrentFolder();
  SetCurrentDirectoryW(folder.Path().c_str());
  Load();
  for (const wchar_t* notAFile : {L"http://127.0.0.1:8000/x.wav", L"-x.wav"}) {
    world.messageBoxes.clear();
    form->Text1.SetText(notAFile);
    Click(form->Command2);
    ASSERT_EQ(world.messageBoxes.size(), 1u);
    EXPECT_EQ(world.messageBoxes[0].prompt, texts::kNotAFileMessage + std::wstring(notAFile));
    EXPECT_EQ(world.messageBoxes[0].title, texts::kAppTitle);
    ExpectIdleAndNothingStarted();
  }
  form->Text1.SetText(L"please drag and drop a video here");
  Click(form->Command2);
  const bool started = PumpUntil([this] { return world.starts.size() == 1; }, 5000);
  SetCurrentDirectoryW(current.c_str());
  ASSERT_TRUE(started);
  EXPECT_NE(
      world.starts[0].commandLine.find(L" -i \"\\\\?\\" + folder.Path() + L"\\please drag and drop a video here\""),
      std::wstring::npos);
}

TEST_F(ConversionStartTest, AnInputThatIsAlreadyThatMp3IsLeftUntouched) {
  TempFolder folder;
  for (const wchar_t* name : {L"song.MP3", L"tune.mp3"}) {
    WriteFileBytes(folder / name, "ID3 the user's music");
  }
  Load();
  for (const std::wstring& video : {folder / L"song.MP3", folder / L"tune.mp3", folder / L"TUNE.mp3"}) {
    world.messageBoxes.clear();
    form->Text1.SetText(video);
    Click(form->Command2);
    ASSERT_TRUE(PumpUntil([this] { return !world.messageBoxes.empty(); }, 5000)) << testing::PrintToString(video);
    EXPECT_EQ(world.messageBoxes[0].prompt, texts::kAlreadyMp3Message);
    EXPECT_EQ(world.messageBoxes[0].title, texts::kAppTitle);
    ExpectIdleAndNothingStarted();
  }
  EXPECT_EQ(ReadFileBytes(folder / L"song.MP3"), "ID3 the user's music");
}

TEST_F(ConversionStartTest, AFailedStartStillArmsTheWatcher) {
  world.startFailure = RuntimeError(ERROR_FILE_NOT_FOUND, L"Cannot start");
  Load();
  form->Text1.SetText(L"C:\\Videos\\clip.avi");
  Click(form->Command2);
  EXPECT_TRUE(world.messageBoxes.empty());
  EXPECT_FALSE(form->Command2.Enabled());
  EXPECT_TRUE(form->Timer1.Enabled());
}
