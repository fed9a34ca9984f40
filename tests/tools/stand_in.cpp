// A stand-in for the converter in tests: a console program that does what its options say, taken
// from its command line and then from the environment variable STAND_IN_OPTIONS (so that it can be
// told what to do when Quillet starts it as ffmpeg.exe with a converter's options).
//   --sleep MS       wait this long
//   --stderr TEXT    write TEXT and a line break to the error stream
//   --hold PATH      open the file and share it with no one until the program ends
//   --linger MS      for a --scan that follows: how long it holds the file after the last ffmpeg.exe
//                    has ended (default 1000)
//   --scan PATH      wait for the file, then read it as a virus scanner does, sharing it for reading
//                    and writing but not deleting, until a while after the last ffmpeg.exe has ended
//   --exit CODE      end with this exit code (default 0)
// Anything else (a converter's own options, say) is ignored.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Options(int argc, wchar_t** argv) {
  std::vector<std::wstring> options(argv + 1, argv + argc);
  wchar_t fromEnvironment[4096];
  if (GetEnvironmentVariableW(L"STAND_IN_OPTIONS", fromEnvironment, 4096) > 0) {
    int count = 0;
    wchar_t** parsed = CommandLineToArgvW((std::wstring(L"stand_in ") + fromEnvironment).c_str(), &count);
    for (int i = 1; i < count; ++i) options.push_back(parsed[i]);
    LocalFree(parsed);
  }
  return options;
}

void WriteLineToErrorStream(const std::wstring& text) {
  const std::wstring line = text + L"\n";
  std::string bytes(line.size() * 4, '\0');
  const int length = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &bytes[0],
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes.data(), static_cast<DWORD>(length), &written, nullptr);
}

bool ConverterRuns() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
    found = lstrcmpiW(entry.szExeFile, L"ffmpeg.exe") == 0;
  }
  CloseHandle(snapshot);
  return found;
}

void Scan(const std::wstring& path, DWORD linger) {
  HANDLE file = INVALID_HANDLE_VALUE;
  while (file == INVALID_HANDLE_VALUE) {
    file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    Sleep(10);
  }
  while (ConverterRuns()) Sleep(50);
  Sleep(linger);
  CloseHandle(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring> options = Options(argc, argv);
  UINT exitCode = 0;
  DWORD linger = 1000;
  for (size_t i = 0; i + 1 < options.size(); ++i) {
    const std::wstring& option = options[i];
    const std::wstring& value = options[i + 1];
    if (option == L"--sleep") {
      Sleep(static_cast<DWORD>(std::wcstoul(value.c_str(), nullptr, 10)));
    } else if (option == L"--stderr") {
      WriteLineToErrorStream(value);
    } else if (option == L"--hold") {
      // Kept open until the process ends.
      CreateFileW(value.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (option == L"--linger") {
      linger = static_cast<DWORD>(std::wcstoul(value.c_str(), nullptr, 10));
    } else if (option == L"--scan") {
      Scan(value, linger);
    } else if (option == L"--exit") {
      exitCode = static_cast<UINT>(std::wcstoul(value.c_str(), nullptr, 0));
    } else {
      continue;
    }
    ++i;
  }
  ExitProcess(exitCode);
}
