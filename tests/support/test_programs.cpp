#include "tests/support/test_programs.h"

#include <tlhelp32.h>

#include <stdexcept>
#include <vector>

#include "runtime/program_info.h"

std::wstring TestProgramFolder() { return AppPath(); }

std::wstring StandInPath() { return TestProgramFolder() + L"\\stand_in.exe"; }

std::wstring ChildStarterPath() { return TestProgramFolder() + L"\\child_starter.exe"; }

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  // Wine gives process ids again: a folder an earlier test left may have the name, and the next is tried.
  static unsigned counter = 0;
  do {
    path_ = std::wstring(temp) + L"quillet-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) return;
  } while (GetLastError() == ERROR_ALREADY_EXISTS && counter < 100000);
  throw std::runtime_error("cannot create a temporary folder");
}

namespace {

// Removes a folder and all it holds, at any depth.
void RemoveTree(const std::wstring& extendedPath) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((extendedPath + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = extendedPath + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(extendedPath.c_str());
}

}  // namespace

TempFolder::~TempFolder() { RemoveTree(L"\\\\?\\" + path_); }

std::wstring DeepFolder(const TempFolder& folder) {
  std::wstring path = folder.Path();
  while (path.size() < MAX_PATH) {
    path += L"\\a folder with a long name, Видео 東京";
    CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr);
  }
  return path;
}

std::wstring CurrentFolder() {
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), &folder[0]));
  return folder;
}

std::string Utf8(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
  }
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    throw std::runtime_error("cannot write a test file");
  }
}

std::string ReadFileBytes(const std::wstring& path) {
  const UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot read a test file");
  std::string bytes;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  return bytes;
}

UniqueFileHandle OpenShared(const std::wstring& path, DWORD share) {
  return UniqueFileHandle(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
}

UniqueKernelHandle StartProgram(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &started)) {
    throw std::runtime_error("cannot start a test program");
  }
  CloseHandle(started.hThread);
  return UniqueKernelHandle(started.hProcess);
}

bool EndsWithin(HANDLE process, DWORD milliseconds) {
  return WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
}

DWORD ExitCodeOf(HANDLE process) {
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return code;
}

std::vector<DWORD> ProcessesNamed(const std::wstring& imageName) {
  std::vector<DWORD> ids;
  const UniqueToolhelpSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, imageName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
  }
  return ids;
}
