#include "runtime/child_process.h"

#include <algorithm>

#include "runtime/rules/path_text.h"
#include "runtime/runtime_error.h"

namespace {

// Newer than the headers' target: DLLs from System32 first, then the program's folder (Windows 10
// version 1511 and later).
constexpr DWORD64 kPreferSystem32Images = 0x1ULL << 60;
constexpr DWORD kPreferSystem32FirstBuild = 10586;

// Quillet's job, made on first use; never closed while Quillet runs, so that its end ends the children.
UniqueKernelHandle& Job() {
  static UniqueKernelHandle job;
  return job;
}

HANDLE ChildJob() {
  UniqueKernelHandle& job = Job();
  if (job) return job.get();
  UniqueKernelHandle made(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!made || !SetInformationJobObject(made.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    throw LastWin32Error(L"Cannot make a job for the programs Quillet starts");
  }
  job = std::move(made);
  return job.get();
}

bool WindowsPrefersSystem32OnRequest() {
  OSVERSIONINFOEXW wanted = {};
  wanted.dwOSVersionInfoSize = sizeof wanted;
  wanted.dwMajorVersion = 10;
  wanted.dwBuildNumber = kPreferSystem32FirstBuild;
  DWORDLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_BUILDNUMBER, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_BUILDNUMBER, condition) != FALSE;
}

// The creation attributes of one child: which handles it inherits, and how it loads DLLs.
class ChildAttributes {
 public:
  ChildAttributes(const std::vector<HANDLE>& inherited, const DWORD64* mitigation) : inherited_(inherited) {
    const DWORD count = (inherited_.empty() ? 0 : 1) + (mitigation ? 1 : 0);
    if (count == 0) return;
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, count, 0, &size);
    buffer_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data());
    if (!InitializeProcThreadAttributeList(list, count, 0, &size)) throw LastWin32Error(L"Cannot prepare a start");
    list_ = list;
    if (!inherited_.empty() &&
        !UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited_.data(),
                                   inherited_.size() * sizeof(HANDLE), nullptr, nullptr)) {
      throw LastWin32Error(L"Cannot name the handles a program inherits");
    }
    if (mitigation &&
        !UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_MITIGATION_POLICY, const_cast<DWORD64*>(mitigation),
                                   sizeof *mitigation, nullptr, nullptr)) {
      throw LastWin32Error(L"Cannot set how a program loads its DLLs");
    }
  }
  ChildAttributes(const ChildAttributes&) = delete;
  ChildAttributes& operator=(const ChildAttributes&) = delete;
  ~ChildAttributes() {
    if (list_) DeleteProcThreadAttributeList(list_);
  }

  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  std::vector<HANDLE> inherited_;  // the list refers to this storage until it is deleted
  std::vector<char> buffer_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace

bool IsOwnChild(HANDLE process) {
  const UniqueKernelHandle& job = Job();
  BOOL inJob = FALSE;
  return job && IsProcessInJob(process, job.get(), &inJob) && inJob;
}

std::vector<HANDLE> InheritedHandleList(const StandardHandles& handles) {
  std::vector<HANDLE> list;
  for (HANDLE handle : {handles.input, handles.output, handles.error}) {
    DWORD flags = 0;
    if (!handle || handle == INVALID_HANDLE_VALUE || !GetHandleInformation(handle, &flags) ||
        !(flags & HANDLE_FLAG_INHERIT)) {
      throw RuntimeError(ERROR_INVALID_HANDLE, L"A standard handle for a started program is not inheritable");
    }
    // Windows refuses a list that names a handle twice.
    if (std::find(list.begin(), list.end(), handle) == list.end()) list.push_back(handle);
  }
  return list;
}

StartedChild StartChild(const std::wstring& program, const std::wstring& commandLine, WORD show,
                        const StandardHandles* handles, AssignToJob assign, DWORD priorityClass) {
  const HANDLE job = ChildJob();
  static const bool preferSystem32 = WindowsPrefersSystem32OnRequest();
  const ChildAttributes attributes(handles ? InheritedHandleList(*handles) : std::vector<HANDLE>(),
                                   preferSystem32 ? &kPreferSystem32Images : nullptr);

  STARTUPINFOEXW startup = {};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | (handles ? STARTF_USESTDHANDLES : 0);
  startup.StartupInfo.wShowWindow = show;
  if (handles) {
    startup.StartupInfo.hStdInput = handles->input;
    startup.StartupInfo.hStdOutput = handles->output;
    startup.StartupInfo.hStdError = handles->error;
  }
  startup.lpAttributeList = attributes.get();

  std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back(L'\0');
  // Suspended until it is in the job, so that nothing it starts can escape the job.
  const DWORD flags = CREATE_SUSPENDED | CREATE_DEFAULT_ERROR_MODE | (show == SW_HIDE ? CREATE_NO_WINDOW : 0) |
                      (attributes.get() ? EXTENDED_STARTUPINFO_PRESENT : 0);
  // In its own folder, never in Quillet's current one, which may be a share that stalls.
  const std::wstring folder = program.substr(0, FileNameStart(program));
  PROCESS_INFORMATION started = {};
  const auto create = [&](DWORD creationFlags) {
    return CreateProcessW(program.c_str(), writableCommandLine.data(), nullptr, nullptr, handles != nullptr,
                          creationFlags, nullptr, folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo,
                          &started) != FALSE;
  };
  // Quillet may itself run in a job ("Run as different user", Remote Desktop, the Task Scheduler,
  // launchers); where that job lets children leave, the child leaves it for Quillet's own.
  BOOL inJob = FALSE;
  const bool breakAway = IsProcessInJob(GetCurrentProcess(), nullptr, &inJob) && inJob;
  bool created = breakAway && create(flags | CREATE_BREAKAWAY_FROM_JOB);
  if (!created && (!breakAway || GetLastError() == ERROR_ACCESS_DENIED)) created = create(flags);
  if (!created) throw LastWin32Error(L"Cannot start " + program);
  StartedChild child{UniqueKernelHandle(started.hProcess), started.dwProcessId};
  const UniqueKernelHandle thread(started.hThread);
  // Where Windows refuses Quillet's job, the child runs outside it and Quillet ends it through its
  // process handle; then only a Quillet ended from outside leaves it running.
  assign(job, child.process.get());
  if (priorityClass) SetPriorityClass(child.process.get(), priorityClass);
  ResumeThread(thread.get());
  return child;
}
