// Times Quillet from inside Wine, where starting a process costs the same for every program timed.
//   quillet_bench startup PROGRAM CLASS           ms from starting PROGRAM until its window of
//                                                 CLASS is shown; then closes it
//   quillet_bench convert QUILLET INPUT           ms from starting Quillet with INPUT on its command
//                                                 line until it shows the end of the conversion, how
//                                                 late that came after the converter ended, and when
//                                                 the window answered messages again
//   quillet_bench click QUILLET INPUT             the same for a conversion started in the window of
//                                                 an idle Quillet, as a user clicks it
//   quillet_bench list QUILLET INPUT...           ms from starting Quillet with the inputs on its
//                                                 command line until it shows the end of the list
//   quillet_bench run COMMAND_LINE                ms for a hidden program to run to its end
#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/form_definition.h"
#include "app/texts.h"
#include "runtime/rules/command_line.h"
#include "runtime/handles.h"

namespace {

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Print(const std::wstring& text) {
  const std::string bytes(text.begin(), text.end());
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), (bytes + "\n").data(), static_cast<DWORD>(bytes.size() + 1), &written,
            nullptr);
}

std::wstring Number(double value) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%.1f", value);
  return text;
}

UniqueKernelHandle Start(const std::wstring& commandLine, WORD show) {
  std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
  writable.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION started = {};
  const std::wstring program = ProgramOfCommandLine(commandLine);
  if (!CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return UniqueKernelHandle();
  }
  CloseHandle(started.hThread);
  return UniqueKernelHandle(started.hProcess);
}

DWORD FindProcess(const wchar_t* imageName) {
  const UniqueToolhelpSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, imageName) == 0) return entry.th32ProcessID;
  }
  return 0;
}

// For another program's window, GetWindowText reads the text the system keeps for it: no message that
// Quillet would answer only after the rest of its tick (buttons, focus, sound).
std::wstring StatusOf(HWND form) {
  wchar_t text[512] = {};
  GetWindowTextW(GetDlgItem(form, kStatus), text, 512);
  return text;
}

bool Ended(const std::wstring& status) {
  return status == texts::kCompleteStatus || status.rfind(texts::kFailedStatusPrefix, 0) == 0;
}

void CloseAndWait(HWND window, HANDLE process) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process, 60000);
}

int Startup(const std::wstring& program, const std::wstring& windowClass) {
  const double start = Now();
  const UniqueKernelHandle process = Start(L"\"" + program + L"\"", SW_SHOWNORMAL);
  if (!process) return 1;
  HWND window = nullptr;
  while (!(window = FindWindowW(windowClass.c_str(), nullptr)) || !IsWindowVisible(window)) {
    if (Now() - start > 600000) return 2;
    Sleep(1);
  }
  Print(L"startup_ms=" + Number(Now() - start));
  CloseAndWait(window, process.get());
  return 0;
}

// Waits for the converter that Quillet starts, for its end, and for the window to show the end.
int MeasureConversion(double start, HANDLE quillet) {
  HWND form = nullptr;
  DWORD converterId = 0;
  while (!(form = FindWindowW(L"QuilletGUI", nullptr)) || !(converterId = FindProcess(L"ffmpeg.exe"))) {
    if (Now() - start > 600000) return 2;
    Sleep(1);
  }
  const UniqueKernelHandle converter(OpenProcess(SYNCHRONIZE, FALSE, converterId));
  WaitForSingleObject(converter.get(), INFINITE);
  const double converterEnded = Now();
  std::wstring status;
  while (!Ended(status = StatusOf(form))) Sleep(1);
  const double shown = Now();
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  const double answering = Now();
  Print(L"total_ms=" + Number(shown - start));
  Print(L"latency_ms=" + Number(shown - converterEnded));
  Print(L"answering_ms=" + Number(answering - converterEnded));
  Print(L"status=" + status);
  CloseAndWait(form, quillet);
  return status == texts::kCompleteStatus ? 0 : 3;
}

int Convert(const std::wstring& quillet, const std::wstring& input) {
  const double start = Now();
  const UniqueKernelHandle process = Start(L"\"" + quillet + L"\" \"" + input + L"\"", SW_SHOWNORMAL);
  return process ? MeasureConversion(start, process.get()) : 1;
}

int Click(const std::wstring& quillet, const std::wstring& input) {
  const UniqueKernelHandle process = Start(L"\"" + quillet + L"\"", SW_SHOWNORMAL);
  if (!process) return 1;
  HWND form = nullptr;
  while (!(form = FindWindowW(L"QuilletGUI", nullptr)) || !IsWindowVisible(form)) Sleep(10);
  Sleep(2000);
  DWORD_PTR ignored = 0;
  HWND text = GetDlgItem(GetDlgItem(form, kFrame1), kText1);
  SendMessageTimeoutW(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(input.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored);
  const double start = Now();
  SendMessageTimeoutW(GetDlgItem(form, kCommand2), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  return MeasureConversion(start, process.get());
}

int List(const std::wstring& quillet, const std::vector<std::wstring>& inputs) {
  std::wstring commandLine = L"\"" + quillet + L"\"";
  for (const std::wstring& input : inputs) commandLine += L" \"" + input + L"\"";
  const double start = Now();
  const UniqueKernelHandle process = Start(commandLine, SW_SHOWNORMAL);
  if (!process) return 1;
  HWND form = nullptr;
  while (!(form = FindWindowW(L"QuilletGUI", nullptr))) {
    if (Now() - start > 600000) return 2;
    Sleep(1);
  }
  std::wstring status;
  while (!Ended(status = StatusOf(form))) Sleep(1);
  Print(L"total_ms=" + Number(Now() - start));
  Print(L"status=" + status);
  CloseAndWait(form, process.get());
  return status == texts::kCompleteStatus ? 0 : 3;
}

int Run(const std::wstring& commandLine) {
  const double start = Now();
  const UniqueKernelHandle process = Start(commandLine, SW_HIDE);
  if (!process) return 1;
  WaitForSingleObject(process.get(), INFINITE);
  Print(L"total_ms=" + Number(Now() - start));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"startup" && argc == 4) return Startup(argv[2], argv[3]);
  if (command == L"convert" && argc == 4) return Convert(argv[2], argv[3]);
  if (command == L"click" && argc == 4) return Click(argv[2], argv[3]);
  if (command == L"list" && argc > 3) return List(argv[2], std::vector<std::wstring>(argv + 3, argv + argc));
  if (command == L"run" && argc == 3) return Run(argv[2]);
  Print(L"usage: quillet_bench startup PROGRAM CLASS | convert|click QUILLET INPUT | list QUILLET INPUT... | "
        L"run COMMAND_LINE");
  return 64;
}
