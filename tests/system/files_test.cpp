#include <windows.h>

#include <gtest/gtest.h>

#include "app/paths.h"
#include "converter/output_file.h"
#include "runtime/rules/path_text.h"
#include "runtime/file_identity.h"
#include "tests/support/windows_like_file_system.h"
#include "tests/support/test_programs.h"

// Each case runs in a short folder and in one whose path is longer than Windows takes in its plain
// form, with the file calls refusing that form as Windows does.
class FilesTest : public testing::TestWithParam<bool> {
 protected:
  std::wstring Folder() const { return GetParam() ? DeepFolder(temp_) : temp_.Path(); }
  std::wstring In(const std::wstring& name) const { return Folder() + L"\\" + name; }

  WindowsLikeFileSystem files;

 private:
  TempFolder temp_;
};

INSTANTIATE_TEST_SUITE_P(ShortAndLongPaths, FilesTest, testing::Bool());

TEST_P(FilesTest, TheSameFileSpelledAnotherWayIsTheSameFile) {
  WriteFileBytes(In(L"song.MP3"), "ID3");
  EXPECT_TRUE(IsSameFile(files, In(L"song.MP3"), In(L"song.mp3")));
  EXPECT_TRUE(IsSameFile(files, In(L"song.MP3"), Folder() + L"\\.\\SONG.mp3"));
  ASSERT_TRUE(CreateHardLinkW(In(L"linked.mp3").c_str(), In(L"song.MP3").c_str(), nullptr));
  EXPECT_TRUE(IsSameFile(files, In(L"song.MP3"), In(L"linked.mp3")));
}

TEST_P(FilesTest, DifferentFilesAreDifferent) {
  WriteFileBytes(In(L"clip.avi"), "RIFF");
  EXPECT_FALSE(IsSameFile(files, In(L"clip.avi"), In(L"clip.mp3")));
  WriteFileBytes(In(L"clip.mp3"), "ID3");
  EXPECT_FALSE(IsSameFile(files, In(L"clip.avi"), In(L"clip.mp3")));
  files.fileIds = false;  // as on Remote Desktop's redirected drives
  EXPECT_FALSE(IsSameFile(files, In(L"clip.avi"), In(L"clip.mp3")));
  EXPECT_TRUE(IsSameFile(files, In(L"clip.mp3"), In(L"CLIP.mp3")));
}

TEST_P(FilesTest, PathsOfFilesThatDoNotExistCompareWithoutLetterCase) {
  EXPECT_TRUE(IsSameFile(files, In(L"Missing.MP3"), In(L"missing.mp3")));
  EXPECT_FALSE(IsSameFile(files, In(L"missing.avi"), In(L"missing.mp3")));
}

// Made anew beside the MP3, never over a file that is there, and written once it holds a byte.
TEST_P(FilesTest, TheUnfinishedMp3IsANewFileOfItsOwn) {
  const auto none = [](const std::wstring&) { return false; };
  const OutputFile::ListFiles unclaimed{none, none};
  const OutputFile first(files, In(L"clip.mp3"), unclaimed);
  EXPECT_EQ(first.ReserveError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(first.UnfinishedPath(), In(L"clip.mp3.part"));
  WriteFileBytes(In(L"clip.mp3.part"), "the converter's bytes");
  OutputFile second(files, In(L"clip.mp3"), unclaimed);
  EXPECT_EQ(second.UnfinishedPath(), In(L"clip.mp3.1.part"));
  EXPECT_FALSE(second.IsWritten());
  WriteFileBytes(In(L"clip.mp3.1.part"), "x");
  EXPECT_TRUE(second.IsWritten());
  EXPECT_EQ(ReadFileBytes(In(L"clip.mp3.part")), "the converter's bytes");
  EXPECT_EQ(OutputFile(files, In(L"no such folder\\clip.mp3"), unclaimed).ReserveError(),
            static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

// As Explorer hands them over, and as the user knows them.
TEST(FullPath, ResolvesRelativePathsForwardSlashesAndShortNames) {
  TempFolder folder;
  WindowsLikeFileSystem files;
  const std::wstring current = CurrentFolder();
  SetCurrentDirectoryW(folder.Path().c_str());
  EXPECT_EQ(files.FullPath(L"clip.mp3"), folder / L"clip.mp3");
  EXPECT_EQ(files.FullPath(L"sub/clip.mp3"), folder / L"sub\\clip.mp3");
  EXPECT_EQ(files.FullPath(L"\\\\?\\" + (folder / L"clip.mp3")), folder / L"clip.mp3");
  SetCurrentDirectoryW(current.c_str());

  WriteFileBytes(folder / L"first video.avi", "RIFF");
  std::wstring shortName(MAX_PATH, L'\0');
  shortName.resize(GetShortPathNameW((folder / L"first video.avi").c_str(), &shortName[0], MAX_PATH));
  ASSERT_NE(FileNameOf(shortName), L"first video.avi");
  EXPECT_EQ(files.FullPath(shortName), folder / L"first video.avi");
  EXPECT_EQ(files.FullPath(GetFolder(shortName) + L"not there.avi"), GetFolder(shortName) + L"not there.avi");

  // Past MAX_PATH even with its 8.3 name (the same as above), which Windows reads there only in the
  // extended-length form.
  const std::wstring deep = DeepFolder(folder) + L"\\first video.avi";
  WriteFileBytes(deep, "RIFF");
  EXPECT_EQ(files.FullPath(GetFolder(deep) + FileNameOf(shortName)), deep);
}
