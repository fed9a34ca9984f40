#include "runtime/hidden_process.h"

#include <vector>

#include "runtime/runtime_error.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

SECURITY_ATTRIBUTES Inheritable() { return SECURITY_ATTRIBUTES{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE}; }

// The capture file: the child appends through an inheritable handle of its own; we read through
// another, which deletes the file when it closes.
struct CaptureFile {
  UniqueFileHandle childEnd;
  UniqueFileHandle ourEnd;
};

CaptureFile CreateCaptureFile() {
  wchar_t folder[MAX_PATH + 1];
  wchar_t path[MAX_PATH + 1];
  if (!GetTempPathW(MAX_PATH + 1, folder) || !GetTempFileNameW(folder, L"qlt", 0, path)) {
    throw LastWin32Error(L"Cannot create a file for the converter's messages");
  }
  SECURITY_ATTRIBUTES inheritable = Inheritable();
  CaptureFile capture;
  capture.childEnd.reset(CreateFileW(path, FILE_APPEND_DATA | SYNCHRONIZE, kShareAll, &inheritable, TRUNCATE_EXISTING,
                                     FILE_ATTRIBUTE_TEMPORARY, nullptr));
  capture.ourEnd.reset(CreateFileW(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!capture.childEnd || !capture.ourEnd) {
    const RuntimeError error = LastWin32Error(L"Cannot open the file for the converter's messages");
    DeleteFileW(path);
    throw error;
  }
  return capture;
}

UniqueFileHandle OpenNullDevice() {
  SECURITY_ATTRIBUTES inheritable = Inheritable();
  UniqueFileHandle nul(
      CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, kShareAll, &inheritable, OPEN_EXISTING, 0, nullptr));
  if (!nul) throw LastWin32Error(L"Cannot open the null device");
  return nul;
}

}  // namespace

std::unique_ptr<HiddenProcess> HiddenProcess::Start(const std::wstring& program, const std::wstring& commandLine) {
  CaptureFile capture = CreateCaptureFile();
  const UniqueFileHandle nul = OpenNullDevice();

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = nul.get();
  startup.hStdOutput = nul.get();
  startup.hStdError = capture.childEnd.get();

  std::vector<wchar_t> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back(L'\0');
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(program.c_str(), writableCommandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &started)) {
    throw LastWin32Error(L"Cannot start " + program);
  }
  CloseHandle(started.hThread);
  return std::unique_ptr<HiddenProcess>(
      new HiddenProcess(UniqueKernelHandle(started.hProcess), started.dwProcessId, std::move(capture.ourEnd)));
}

HiddenProcess::HiddenProcess(UniqueKernelHandle process, DWORD id, UniqueFileHandle errorCapture)
    : process_(std::move(process)), id_(id), errorCapture_(std::move(errorCapture)) {}

bool HiddenProcess::IsRunning() { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

DWORD HiddenProcess::ExitCode() {
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

std::string HiddenProcess::ReadNewErrorOutput() {
  const size_t known = errorBytes_.size();
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(errorCapture_.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
    errorBytes_.append(chunk, read);
  }
  return errorBytes_.substr(known);
}

std::wstring HiddenProcess::ErrorOutput() {
  ReadNewErrorOutput();
  return DecodeProgramOutput(errorBytes_);
}

std::wstring DecodeProgramOutput(const std::string& bytes) {
  if (bytes.empty()) return L"";
  const int size = static_cast<int>(bytes.size());
  UINT codePage = CP_UTF8;
  int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length == 0) {
    codePage = CP_ACP;
    length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  }
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, bytes.data(), size, &text[0], length);
  return text;
}
