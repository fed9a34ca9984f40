#include "app/paths.h"
#include "converter/converter_command_line.h"
#include "converter/output_names.h"
#include "runtime/rules/command_line.h"

#include <gtest/gtest.h>

#include "app/texts.h"
#include "runtime/rules/path_text.h"

TEST(GetMp3FileName, ReplacesTheFileNamesExtension) {
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\clip.avi"), L"C:\\Videos\\clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\clip.final.webm"), L"C:\\Videos\\clip.final.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\song.MP3"), L"C:\\Videos\\song.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\clip."), L"C:\\Videos\\clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"clip.avi"), L"clip.mp3");
}

TEST(GetMp3FileName, KeepsTheMp3BesideAnInputWithoutExtension) {
  // A dot in a folder name is not the file's extension.
  EXPECT_EQ(GetMp3FileName(L"C:\\My.Videos\\clip"), L"C:\\My.Videos\\clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:\\Videos\\clip"), L"C:\\Videos\\clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"C:/My.Videos/clip"), L"C:/My.Videos/clip.mp3");
  EXPECT_EQ(GetMp3FileName(L"\\\\server\\share.old\\clip"), L"\\\\server\\share.old\\clip.mp3");
}

TEST(GetMp3FileName, WorksForAnyCharactersAndLength) {
  EXPECT_EQ(GetMp3FileName(L"C:\\Видео\\東京 🎬.mkv"), L"C:\\Видео\\東京 🎬.mp3");
  const std::wstring deep = L"C:\\" + std::wstring(40000, L'a') + L"\\clip.avi";
  EXPECT_EQ(GetMp3FileName(deep), deep.substr(0, deep.size() - 4) + L".mp3");
}

TEST(GetFolder, KeepsEverythingUpToTheLastBackslash) {
  EXPECT_EQ(GetFolder(L"C:\\Videos\\clip.avi"), L"C:\\Videos\\");
  EXPECT_EQ(GetFolder(L"C:\\clip.avi"), L"C:\\");
  EXPECT_EQ(GetFolder(L"C:\\Videos\\"), L"C:\\Videos\\");
  EXPECT_EQ(GetFolder(L"\\\\server\\share\\clip.avi"), L"\\\\server\\share\\");
  EXPECT_EQ(GetFolder(L"clip.avi"), L"");
  EXPECT_EQ(GetFolder(L""), L"");
  EXPECT_EQ(GetFolder(L"C:/Videos/clip.avi"), L"");
  const std::wstring longName(40000, L'x');
  EXPECT_EQ(GetFolder(L"C:\\" + longName), L"C:\\");
  EXPECT_EQ(GetFolder(longName), L"");
}

TEST(ParentFolder, ClimbsToTheRootOfADriveOrShare) {
  EXPECT_EQ(ParentFolder(L"C:\\a\\b\\"), L"C:\\a\\");
  EXPECT_EQ(ParentFolder(L"C:\\a\\"), L"C:\\");
  EXPECT_EQ(ParentFolder(L"C:\\"), L"");
  EXPECT_EQ(ParentFolder(L"\\\\nas\\share\\a\\"), L"\\\\nas\\share\\");
  EXPECT_EQ(ParentFolder(L"\\\\nas\\share\\"), L"");
}

TEST(IsNoVideo, ThePlaceholderNothingAndBlanksAreNoVideo) {
  EXPECT_TRUE(IsNoVideo(texts::kPlaceholder));
  EXPECT_TRUE(IsNoVideo(L""));
  EXPECT_TRUE(IsNoVideo(L"   "));
  EXPECT_TRUE(IsNoVideo(L" \t "));
}

TEST(IsNoVideo, ThePlaceholderInOtherCaseOrWithABlankIsAPath) {
  EXPECT_FALSE(IsNoVideo(L"please drag and drop a video here"));
  EXPECT_FALSE(IsNoVideo(std::wstring(texts::kPlaceholder) + L" "));
  EXPECT_FALSE(IsNoVideo(L"C:\\Videos\\clip.avi"));
}

TEST(FilesOfCommandLine, QuotedOrBy8Dot3NamesSeveralElseOneWithItsBlanks) {
  using Files = std::vector<std::wstring>;
  const auto exists = [](const std::wstring& path) {
    return path == L"C:\\V\\A~1.MP4" || path == L"C:\\V\\B~1.MP4" || path == L"C:\\My Videos\\clip.avi";
  };
  EXPECT_EQ(FilesOfCommandLine(L"\"C:\\My Videos\\a.avi\" C:\\b.avi", exists),
            (Files{L"C:\\My Videos\\a.avi", L"C:\\b.avi"}));
  EXPECT_EQ(FilesOfCommandLine(L"C:\\V\\A~1.MP4 C:\\V\\B~1.MP4", exists),
            (Files{L"C:\\V\\A~1.MP4", L"C:\\V\\B~1.MP4"}));
  EXPECT_EQ(FilesOfCommandLine(L"C:\\My Videos\\clip.avi", exists), Files{L"C:\\My Videos\\clip.avi"});
  EXPECT_EQ(FilesOfCommandLine(L"C:\\No Such\\clip.avi", exists), Files{L"C:\\No Such\\clip.avi"});
  EXPECT_EQ(FilesOfCommandLine(L"C:\\V\\A~1.MP4 clip.avi", exists), Files{L"C:\\V\\A~1.MP4 clip.avi"});
  // One of several deleted since it was selected is a failure of its own.
  EXPECT_EQ(FilesOfCommandLine(L"C:\\V\\A~1.MP4 C:\\V\\GONE~1.MP4 \\\\nas\\v\\B~1.MP4", exists),
            (Files{L"C:\\V\\A~1.MP4", L"C:\\V\\GONE~1.MP4", L"\\\\nas\\v\\B~1.MP4"}));
  EXPECT_EQ(FilesOfCommandLine(L"\"\"", exists), Files{L""});
}

TEST(WithoutDoubleQuotes, RemovesEveryQuoteAndNothingElse) {
  EXPECT_EQ(WithoutDoubleQuotes(L"\"C:\\My Videos\\clip.avi\""), L"C:\\My Videos\\clip.avi");
  EXPECT_EQ(WithoutDoubleQuotes(L"\"a.avi\" \"b.avi\""), L"a.avi b.avi");
  EXPECT_EQ(WithoutDoubleQuotes(L"\"\""), L"");
  EXPECT_EQ(WithoutDoubleQuotes(L" C:\\x.avi "), L" C:\\x.avi ");
}

TEST(NamesAFile, TakesPathsOnThisComputerOrAShareAndNothingFfmpegWouldOpenOtherwise) {
  for (const wchar_t* file :
       {L"C:\\Videos\\clip.avi", L"c:/Videos/clip.avi", L"C:clip.avi", L"clip.avi", L"\\Videos\\clip.avi",
        L"..\\clip.avi", L"\\\\server\\share\\clip.avi", L"//server/share/clip.avi", L"\\\\?\\C:\\Videos\\clip.avi",
        L"\\\\?\\UNC\\server\\share\\clip.avi", L"  C:\\clip.avi", L"my-clip.avi"}) {
    EXPECT_TRUE(NamesAFile(file)) << testing::PrintToString(std::wstring(file));
  }
  for (const wchar_t* other :
       {L"http://127.0.0.1:8000/x.wav", L"https://example.com/x.mp4", L"concat:a.wav|b.wav", L"pipe:0",
        L"subfile,,start,0,end,100,,:C:\\x.wav", L"file:C:/x.wav", L"-x.wav", L"-", L" -i", L"\\\\.\\pipe\\x",
        L"\\\\?\\GLOBALROOT\\Device\\x", L"\\\\server", L"\\\\server\\", L"\\\\", L""}) {
    EXPECT_FALSE(NamesAFile(other)) << testing::PrintToString(std::wstring(other));
  }
}

TEST(UnfinishedAndNumberedNames, StayBesideTheMp3) {
  EXPECT_EQ(UnfinishedName(L"C:\\v\\clip.mp3", 0), L"C:\\v\\clip.mp3.part");
  EXPECT_EQ(UnfinishedName(L"C:\\v\\clip.mp3", 2), L"C:\\v\\clip.mp3.2.part");
  EXPECT_EQ(NumberedName(L"C:\\v.x\\clip.mp3", 2), L"C:\\v.x\\clip (2).mp3");
  EXPECT_EQ(AsideName(L"C:\\v\\clip.mp3", 2), L"C:\\v\\clip (replaced 2).mp3");
  EXPECT_EQ(FileNameOf(L"C:\\v\\clip.mp3"), L"clip.mp3");
}

TEST(PathRoot, IsTheDrivesOrTheSharesRoot) {
  EXPECT_EQ(PathRoot(L"E:\\Videos\\clip.mp3"), L"E:\\");
  EXPECT_EQ(PathRoot(L"\\\\nas\\music\\clip.mp3"), L"\\\\nas\\music\\");
  EXPECT_EQ(PathRoot(L"\\\\nas"), L"");
  EXPECT_EQ(PathRoot(L"clip.mp3"), L"");
}

TEST(ExtendedLengthPath, PrefixesDrivesAndSharesAndReadsBack) {
  struct Forms {
    std::wstring full, extended, plain;
  };
  const std::vector<Forms> forms = {
      {L"C:\\Videos\\clip.mp3", L"\\\\?\\C:\\Videos\\clip.mp3", L"C:\\Videos\\clip.mp3"},
      {L"\\\\server\\share\\clip.mp3", L"\\\\?\\UNC\\server\\share\\clip.mp3", L"\\\\server\\share\\clip.mp3"},
      {L"\\\\?\\C:\\Videos\\clip.mp3", L"\\\\?\\C:\\Videos\\clip.mp3", L"C:\\Videos\\clip.mp3"},
      {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
  };
  for (const Forms& form : forms) {
    EXPECT_EQ(ExtendedLengthPath(form.full), form.extended);
    EXPECT_EQ(PlainPath(form.extended), form.plain);
  }
}
