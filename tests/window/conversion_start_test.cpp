#include <gtest/gtest.h>

#include "app/texts.h"
#include "runtime/program_info.h"
#include "tests/system/test_programs.h"
#include "tests/window/window_driver.h"

class ConversionStartTest : public WindowTest {
 protected:
  void ExpectIdleAndNothingStarted() {
    EXPECT_EQ(form->Command2.Caption(), L"Convert to MP3");
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
    EXPECT_EQ(world.messageBoxes[0].prompt,
              L"No videos to convert. Please add some by clicking 'Add Videos' or by dragging and dropping them in "
              L"to this program");
    EXPECT_EQ(world.messageBoxes[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(world.messageBoxes[0].title, L"Quillet");
    ExpectIdleAndNothingStarted();
  }
}

// The converter writes to a new file of Quillet's beside the MP3's name, never to a file that is there.
TEST_F(ConversionStartTest, StartsTheConverterBesideTheProgramWritingAnUnfinishedMp3BesideTheVideo) {
  TempFolder folder;
  const std::wstring videos = folder / L"My Videos";
  CreateDirectoryW(videos.c_str(), nullptr);
  WriteFileBytes(videos + L"\\clip.mp3.part", "someone else's file");
  Load();
  form->Text1.SetText(videos + L"\\clip.avi");
  Click(form->Command2);

  EXPECT_EQ(form->Command2.Caption(), L"Converting Video. Please be patient.");
  EXPECT_FALSE(form->Command1.Enabled());
  EXPECT_FALSE(form->Command2.Enabled());
  EXPECT_TRUE(form->Timer1.Enabled());
  ASSERT_EQ(world.starts.size(), 1u);
  const std::wstring converter = AppPath() + L"\\ffmpeg.exe";
  EXPECT_EQ(world.starts[0].program, converter);
  EXPECT_EQ(world.starts[0].commandLine, L"\"" + converter + L"\" -y -i \"\\\\?\\" + videos +
                                             L"\\clip.avi\" -f mp3 \"\\\\?\\" + videos + L"\\clip.mp3.1.part\"");
  EXPECT_EQ(ReadFileBytes(videos + L"\\clip.mp3.1.part"), "");
  EXPECT_EQ(ReadFileBytes(videos + L"\\clip.mp3.part"), "someone else's file");
  EXPECT_TRUE(world.messageBoxes.empty());
}

TEST_F(ConversionStartTest, AnyCharactersAndLengthGoThroughUnchanged) {
  TempFolder folder;
  const std::wstring name = L"Видео 東京 " + std::wstring(60, L'長') + L" 🎬";
  const std::wstring video = DeepFolder(folder) + L"\\" + name + L".mkv";
  Load();
  form->Text1.SetText(video);
  Click(form->Command2);
  ASSERT_EQ(world.starts.size(), 1u);
  EXPECT_NE(world.starts[0].commandLine.find(L"-y -i \"\\\\?\\" + video + L"\" -f mp3 \"\\\\?\\" +
                                             video.substr(0, video.size() - 4) + L".mp3.part\""),
            std::wstring::npos);
  EXPECT_EQ(form->Text1.Text(), video);
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
    EXPECT_EQ(
        world.messageBoxes[0].prompt,
        std::wstring(L"Quillet converts files on this computer or a network share. This is not one of them:\n\n") +
            notAFile);
    EXPECT_EQ(world.messageBoxes[0].title, L"Quillet");
    ExpectIdleAndNothingStarted();
  }
  form->Text1.SetText(L"please drag and drop a video here");
  Click(form->Command2);
  SetCurrentDirectoryW(current.c_str());
  ASSERT_EQ(world.starts.size(), 1u);
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
    ASSERT_EQ(world.messageBoxes.size(), 1u) << testing::PrintToString(video);
    EXPECT_EQ(world.messageBoxes[0].prompt, texts::kAlreadyMp3Message);
    EXPECT_EQ(world.messageBoxes[0].title, L"Quillet");
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
