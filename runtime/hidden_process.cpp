#include "runtime/hidden_process.h"

#include <algorithm>
#include <string_view>

#include "runtime/child_process.h"
#include "runtime/runtime_error.h"

namespace {

SECURITY_ATTRIBUTES Inheritable() { return SECURITY_ATTRIBUTES{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE}; }

std::wstring TemporaryFolder() {
  std::wstring folder(GetTempPathW(0, nullptr), L'\0');
  folder.resize(GetTempPathW(static_cast<DWORD>(folder.size()), &folder[0]));
  if (folder.empty()) throw LastWin32Error(L"Cannot find the temporary folder");
  return folder;
}

// The capture file: the child appends through an inheritable handle of its own, which lets others
// read the file but neither write nor delete it; we read through another, which deletes the file
// when it closes.
struct CaptureFile {
  UniqueFileHandle childEnd;
  UniqueFileHandle ourEnd;
};

CaptureFile CreateCaptureFile() {
  static unsigned made = 0;
  const std::wstring folder = TemporaryFolder();
  SECURITY_ATTRIBUTES inheritable = Inheritable();
  for (;;) {
    const std::wstring path =
        folder + L"qlt" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made) + L".tmp";
    CaptureFile capture;
    capture.childEnd.reset(CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                       FILE_SHARE_READ | FILE_SHARE_DELETE, &inheritable, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!capture.childEnd && GetLastError() == ERROR_FILE_EXISTS) continue;
    if (!capture.childEnd) throw LastWin32Error(L"Cannot create a file for the converter's messages");
    capture.ourEnd.reset(CreateFileW(path.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!capture.ourEnd) {
      const RuntimeError error = LastWin32Error(L"Cannot open the file for the converter's messages");
      DeleteFileW(path.c_str());
      throw error;
    }
    return capture;
  }
}

UniqueFileHandle OpenNullDevice() {
  SECURITY_ATTRIBUTES inheritable = Inheritable();
  UniqueFileHandle nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inheritable, OPEN_EXISTING, 0, nullptr));
  if (!nul) throw LastWin32Error(L"Cannot open the null device");
  return nul;
}

}  // namespace

std::unique_ptr<HiddenProcess> HiddenProcess::Start(const std::wstring& program, const std::wstring& commandLine,
                                                    ProcessPriority priority) {
  CaptureFile capture = CreateCaptureFile();
  const UniqueFileHandle nul = OpenNullDevice();
  const StandardHandles handles{nul.get(), nul.get(), capture.childEnd.get()};
  const DWORD priorityClass = priority == ProcessPriority::BelowNormal ? BELOW_NORMAL_PRIORITY_CLASS : 0;
  StartedChild child = StartChild(program, commandLine, SW_HIDE, &handles, AssignProcessToJobObject, priorityClass);
  return std::unique_ptr<HiddenProcess>(
      new HiddenProcess(std::move(child.process), child.id, std::move(capture.ourEnd)));
}

HiddenProcess::HiddenProcess(UniqueKernelHandle process, DWORD id, UniqueFileHandle errorCapture)
    : process_(std::move(process)), id_(id), errorCapture_(std::move(errorCapture)) {}

bool HiddenProcess::IsRunning() { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

bool HiddenProcess::WaitUntilEnded(DWORD milliseconds) {
  return WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
}

void HiddenProcess::Terminate() { TerminateProcess(process_.get(), 1); }

void HiddenProcess::LowerPriority() { SetPriorityClass(process_.get(), BELOW_NORMAL_PRIORITY_CLASS); }

DWORD HiddenProcess::ExitCode() {
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

std::string HiddenProcess::ReadNewErrorOutput() {
  std::string bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(errorCapture_.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  return bytes;
}

namespace {

// One line: UTF-8 where it is valid UTF-8, else the ANSI code page.
std::wstring DecodeLine(std::string_view bytes) {
  if (bytes.empty()) return L"";
  const int size = static_cast<int>(bytes.size());
  UINT codePage = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (length == 0) {
    codePage = CP_ACP;
    flags = 0;
    length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  }
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), size, &text[0], length);
  return text;
}

}  // namespace

std::wstring DecodeProgramOutput(const std::string& bytes) {
  std::wstring text;
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
    text += DecodeLine(std::string_view(bytes).substr(start, end - start));
    if (end < bytes.size()) text += static_cast<wchar_t>(bytes[end]);
    start = end + 1;
  }
  return text;
}
