#include <windows.h>
#include <sherrors.h>

#include <gtest/gtest.h>

#include "app/paths.h"
#include "converter/output_file.h"
#include "runtime/rules/path_text.h"
#include "runtime/file_identity.h"
#include "runtime/windows_shell.h"
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
  const OutputFile::ListFiles unclaimed{none, none, [](const std::wstring&) {}};
  OutputFile first(files, In(L"clip.mp3"), unclaimed);
  EXPECT_EQ(first.Reserve(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(first.UnfinishedPath(), In(L"clip.mp3.part"));
  WriteFileBytes(In(L"clip.mp3.part"), "the converter's bytes");
  OutputFile second(files, In(L"clip.mp3"), unclaimed);
  second.Reserve();
  EXPECT_EQ(second.UnfinishedPath(), In(L"clip.mp3.1.part"));
  EXPECT_FALSE(second.IsWritten());
  WriteFileBytes(In(L"clip.mp3.1.part"), "x");
  EXPECT_TRUE(second.IsWritten());
  EXPECT_EQ(ReadFileBytes(In(L"clip.mp3.part")), "the converter's bytes");
  EXPECT_EQ(OutputFile(files, In(L"no such folder\\clip.mp3"), unclaimed).Reserve(),
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

namespace {

// The shell's file operation as Windows answers it for one file, deleting nothing itself: into the
// Recycle Bin where that is asked for and the drive has one, else outright, ending as `deleted` says.
class StandInFileOperation : public IFileOperation {
 public:
  bool recycleBin = true;
  HRESULT performed = S_OK;  // PerformOperations' answer: one that failed says nothing of the file
  bool reports = true;       // false: aborted before the file, which Windows may still answer with success
  HRESULT deleted = S_OK;

  HRESULT STDMETHODCALLTYPE SetOperationFlags(DWORD flags) override {
    flags_ = flags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IFileOperationProgressSink* sink, DWORD* cookie) override {
    sink_ = sink;
    *cookie = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override {
    sink_ = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DeleteItem(IShellItem* item, IFileOperationProgressSink*) override {
    item_ = item;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PerformOperations() override {
    const bool recycled = SUCCEEDED(deleted) && recycleBin && (flags_ & FOF_ALLOWUNDO);
    if (FAILED(performed) || !sink_ || !reports) return performed;
    return sink_->PostDeleteItem(TSF_NORMAL, item_, deleted, recycled ? item_ : nullptr);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetProgressMessage(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetProgressDialog(IOperationsProgressDialog*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetProperties(IPropertyChangeArray*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetOwnerWindow(HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ApplyPropertiesToItem(IShellItem*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ApplyPropertiesToItems(IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RenameItem(IShellItem*, LPCWSTR, IFileOperationProgressSink*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RenameItems(IUnknown*, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE MoveItem(IShellItem*, IShellItem*, LPCWSTR, IFileOperationProgressSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE MoveItems(IUnknown*, IShellItem*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CopyItem(IShellItem*, IShellItem*, LPCWSTR, IFileOperationProgressSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CopyItems(IUnknown*, IShellItem*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeleteItems(IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE NewItem(IShellItem*, DWORD, LPCWSTR, LPCWSTR, IFileOperationProgressSink*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetAnyOperationsAborted(BOOL*) override { return E_NOTIMPL; }

 private:
  DWORD flags_ = 0;
  IFileOperationProgressSink* sink_ = nullptr;
  IShellItem* item_ = nullptr;
};

}  // namespace

// A file deleted for good is one the shell reports deleted without a new item in the Recycle Bin,
// whatever the drive. Where the shell's file operation cannot delete (Wine's, which answers E_NOTIMPL)
// or there is none, the older call recycles the file, and a fixed drive is taken to have a Recycle Bin.
TEST(RecycleWithShell, SaysDeletedForGoodWhereTheShellPutNothingInTheRecycleBin) {
  enum class Operation { StandIn, Shells, None };
  struct Case {
    const char* what;
    Operation operation;
    bool recycleBin;
    HRESULT performed, deleted;
    DWORD error;
    bool deletedForGood, gone;
    bool reports = true;
  };
  const Case cases[] = {
      {"a drive with a Recycle Bin", Operation::StandIn, true, S_OK, S_OK, ERROR_SUCCESS, false, false},
      {"a fixed drive whose Recycle Bin is off", Operation::StandIn, false, S_OK, S_OK, ERROR_SUCCESS, true, false},
      {"a file another program holds", Operation::StandIn, true, S_OK, COPYENGINE_E_SHARING_VIOLATION_SRC,
       ERROR_SHARING_VIOLATION, false, false},
      {"cancelled before the file", Operation::StandIn, true, COPYENGINE_E_USER_CANCELLED, S_OK, ERROR_CANCELLED, false,
       false},
      {"aborted before the file, yet a success", Operation::StandIn, true, S_OK, S_OK, ERROR_CANCELLED, false, false,
       false},
      {"the shell's own file operation", Operation::Shells, true, S_OK, S_OK, ERROR_SUCCESS, false, true},
      {"no file operation", Operation::None, true, S_OK, S_OK, ERROR_SUCCESS, false, true},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    WriteFileBytes(folder / L"clip.mp3", "ID3");
    StandInFileOperation standIn;
    standIn.recycleBin = c.recycleBin;
    standIn.performed = c.performed;
    standIn.deleted = c.deleted;
    standIn.reports = c.reports;
    bool deletedForGood = !c.deletedForGood;
    const auto make = [&]() -> IFileOperation* {
      if (c.operation == Operation::Shells) return ShellFileOperation();
      return c.operation == Operation::StandIn ? &standIn : nullptr;
    };
    EXPECT_EQ(RecycleWithShell(folder / L"clip.mp3", deletedForGood, make), c.error) << c.what;
    EXPECT_EQ(deletedForGood, c.deletedForGood) << c.what;
    EXPECT_EQ(GetFileAttributesW((folder / L"clip.mp3").c_str()) == INVALID_FILE_ATTRIBUTES, c.gone) << c.what;
  }
}
