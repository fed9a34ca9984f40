#include "runtime/hidden_process.h"

#include <gtest/gtest.h>

#include "converter/converter_output.h"
#include "runtime/child_process.h"
#include "runtime/runtime_error.h"
#include "tests/support/test_programs.h"

namespace {

std::wstring CommandLineFor(const std::wstring& program, const std::wstring& arguments) {
  return L"\"" + program + L"\" " + arguments;
}

void WaitUntilEnded(StartedProcess& process) {
  for (int i = 0; i < 300 && process.IsRunning(); ++i) Sleep(50);
  ASSERT_FALSE(process.IsRunning());
}

BOOL CALLBACK NoteVisibleWindowOf(HWND window, LPARAM found) {
  auto* search = reinterpret_cast<std::pair<DWORD, bool>*>(found);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->first && IsWindowVisible(window)) search->second = true;
  return TRUE;
}

}  // namespace

TEST(HiddenProcess, ReportsExitCodeAndWhatTheProgramSaidLast) {
  const std::wstring program = StandInPath();
  auto process = HiddenProcess::Start(
      program, CommandLineFor(program, L"--stderr \"first words\" --stderr \"Видео 東京: the cause\" --exit 3"));
  WaitUntilEnded(*process);
  EXPECT_EQ(process->ExitCode(), 3u);
  const std::wstring said = DecodeProgramOutput(process->ReadNewErrorOutput());
  EXPECT_NE(said.find(L"first words"), std::wstring::npos);
  EXPECT_EQ(LastErrorLine(said), L"Видео 東京: the cause");
}

// The taskbar progress reads the error stream while the converter runs, each byte once.
TEST(HiddenProcess, ReadsEachNewPieceOfTheErrorStreamOnce) {
  const std::wstring program = StandInPath();
  auto process = HiddenProcess::Start(
      program, CommandLineFor(program, L"--stderr \"Duration: early\" --sleep 1500 --stderr \"time=late\""));
  std::string early;
  for (int i = 0; i < 200 && early.empty(); ++i, Sleep(10)) early = process->ReadNewErrorOutput();
  EXPECT_NE(early.find("Duration: early"), std::string::npos);
  EXPECT_EQ(early.find("time=late"), std::string::npos);

  WaitUntilEnded(*process);
  const std::string late = process->ReadNewErrorOutput();
  EXPECT_NE(late.find("time=late"), std::string::npos);
  EXPECT_EQ(late.find("Duration: early"), std::string::npos);
  EXPECT_EQ(process->ReadNewErrorOutput(), "");
}

// Below the usual priority where asked, as the converters of a list run; and ended when told.
TEST(HiddenProcess, RunsWithoutAVisibleWindowUntilEnded) {
  const std::wstring program = StandInPath();
  auto process = HiddenProcess::Start(program, CommandLineFor(program, L"--sleep 60000"), ProcessPriority::BelowNormal);
  EXPECT_NE(process->Id(), 0u);
  EXPECT_TRUE(process->IsRunning());
  const UniqueKernelHandle opened(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process->Id()));
  EXPECT_EQ(GetPriorityClass(opened.get()), static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
  std::pair<DWORD, bool> search{process->Id(), false};
  EnumWindows(NoteVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
  EXPECT_FALSE(search.second);
  process->Terminate();
  EXPECT_TRUE(process->WaitUntilEnded(10000));
  EXPECT_FALSE(process->IsRunning());
  EXPECT_EQ(process->ReadNewErrorOutput(), "");
}

TEST(HiddenProcess, StartsExactlyTheProgramNamedEvenInAFolderWithBlanks) {
  // Unquoted, "...\with blanks\ffmpeg.exe" would make Windows try "...\with.exe" first.
  TempFolder folder;
  CreateDirectoryW((folder / L"with blanks").c_str(), nullptr);
  const std::wstring program = folder / L"with blanks\\ffmpeg.exe";
  ASSERT_TRUE(CopyFileW(StandInPath().c_str(), program.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(StandInPath().c_str(), (folder / L"with.exe").c_str(), FALSE));

  auto process = HiddenProcess::Start(program, CommandLineFor(program, L"--sleep 1000"));
  const UniqueKernelHandle opened(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process->Id()));
  ASSERT_TRUE(opened);
  wchar_t image[MAX_PATH * 2];
  DWORD size = MAX_PATH * 2;
  ASSERT_TRUE(QueryFullProcessImageNameW(opened.get(), 0, image, &size));
  const std::wstring started(image, size);
  EXPECT_NE(started.find(L"with blanks\\ffmpeg.exe"), std::wstring::npos) << testing::PrintToString(started);
  WaitUntilEnded(*process);
}

TEST(HiddenProcess, AMissingProgramIsReportedAsNotFound) {
  TempFolder folder;
  const std::wstring program = folder / L"ffmpeg.exe";
  try {
    HiddenProcess::Start(program, CommandLineFor(program, L"-y"));
    FAIL() << "started a program that does not exist";
  } catch (const RuntimeError& error) {
    EXPECT_TRUE(error.Code() == ERROR_FILE_NOT_FOUND || error.Code() == ERROR_PATH_NOT_FOUND) << error.Code();
  }
}

TEST(HiddenProcess, LeavesNoCaptureFileBehind) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const auto countCaptures = [&] {
    WIN32_FIND_DATAW found;
    int count = 0;
    HANDLE search = FindFirstFileW((std::wstring(temp) + L"qlt*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
  };
  const int before = countCaptures();
  {
    const std::wstring program = StandInPath();
    auto process = HiddenProcess::Start(program, CommandLineFor(program, L"--stderr bye"));
    WaitUntilEnded(*process);
    EXPECT_EQ(LastErrorLine(DecodeProgramOutput(process->ReadNewErrorOutput())), L"bye");
  }
  // The file goes with the last handle to it; the child's console host may hold one a moment longer.
  for (int i = 0; i < 100 && countCaptures() > before; ++i) Sleep(50);
  EXPECT_EQ(countCaptures(), before);
}

// Wine lets a child write to standard handles it never inherited; Windows does not. So the list of
// handles a child inherits is checked where it is made.
// As Windows 7 does where Quillet runs in another program's job.
BOOL WINAPI RefuseJob(HANDLE, HANDLE) {
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

TEST(StartChild, WhereWindowsRefusesQuilletsJobTheChildRunsOutsideIt) {
  const std::wstring program = StandInPath();
  const StartedChild child = StartChild(program, L"\"" + program + L"\" --sleep 60000", SW_HIDE, nullptr, RefuseJob);
  EXPECT_FALSE(EndsWithin(child.process.get(), 300));
  EXPECT_FALSE(IsOwnChild(child.process.get()));
  TerminateProcess(child.process.get(), 1);
}

// However Quillet runs and ends: inside a job that lets nothing break away (the Task Scheduler, Remote
// Desktop) its converter still starts, and a Quillet ended from outside (Task Manager) takes it along.
TEST(StartChild, TheChildStartsInsideAJobWithoutBreakawayAndEndsWithQuillet) {
  for (const bool inAJob : {false, true}) {
    SCOPED_TRACE(inAJob ? "in a job that lets nothing break away" : "in no job");
    TempFolder folder;
    const std::wstring idFile = folder / L"child id";
    std::wstring commandLine = L"\"" + ChildStarterPath() + L"\" \"" + idFile + L"\" \"" + StandInPath() + L"\" --sleep 60000";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessW(ChildStarterPath().c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started));
    const UniqueKernelHandle quillet(started.hProcess), thread(started.hThread);
    const UniqueKernelHandle job(CreateJobObjectW(nullptr, nullptr));
    if (inAJob) {
      ASSERT_TRUE(AssignProcessToJobObject(job.get(), quillet.get()));
    }
    ResumeThread(thread.get());
    for (int i = 0; i < 200 && GetFileAttributesW(idFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
    Sleep(100);
    const DWORD id = static_cast<DWORD>(std::stoul(ReadFileBytes(idFile)));
    const UniqueKernelHandle child(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id));
    ASSERT_TRUE(child);
    EXPECT_FALSE(EndsWithin(child.get(), 300));
    TerminateProcess(quillet.get(), 1);
    EXPECT_TRUE(EndsWithin(child.get(), 10000));
    TerminateProcess(child.get(), 1);
  }
}

TEST(InheritedHandleList, NamesEachStandardHandleOnceAndRefusesOneThatCannotBeInherited) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const UniqueFileHandle nul(
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr));
  const UniqueFileHandle other(
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr));
  const UniqueFileHandle private_(
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(InheritedHandleList({nul.get(), nul.get(), other.get()}), (std::vector<HANDLE>{nul.get(), other.get()}));
  for (const StandardHandles& bad :
       {StandardHandles{nul.get(), nul.get(), private_.get()}, StandardHandles{nullptr, nul.get(), other.get()},
        StandardHandles{nul.get(), INVALID_HANDLE_VALUE, other.get()}}) {
    EXPECT_THROW(InheritedHandleList(bad), RuntimeError);
  }
}

TEST(DecodeProgramOutput, ReadsUtf8AndFallsBackToTheAnsiCodePageLineByLine) {
  EXPECT_EQ(DecodeProgramOutput("caf\xc3\xa9"), L"café");
  EXPECT_EQ(DecodeProgramOutput(""), L"");
  // Not UTF-8: read as the ANSI code page, so the text is still there, and the next line as it is.
  const std::wstring mixed = DecodeProgramOutput("    title: caf\xe9\r\n\xc3\xa9t\xc3\xa9.avi: Invalid data\r\n");
  EXPECT_EQ(mixed.substr(0, 14), L"    title: caf");
  EXPECT_EQ(mixed.substr(15), L"\r\nété.avi: Invalid data\r\n");
}
