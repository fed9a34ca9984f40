// Looks at a running Quillet from outside, as a user would: reads its window, waits for the end of
// its conversion, closes it, counts processes. Prints UTF-8 on standard output. With several Quillets
// running, --video NAME first picks the one whose text box names NAME.
//   quillet_probe wait-done SECONDS   wait for the window, then for the conversion to end; print the status line
//   quillet_probe wait-busy SECONDS   wait until the window shows a conversion under way
//   quillet_probe state               print the window's state as name=value lines
//   quillet_probe answers MS          whether the window takes a message within MS milliseconds
//   quillet_probe close SECONDS       close the window and wait for the program to end
//   quillet_probe end-session SECONDS tell the window that Windows is ending the session, and wait
//                                     for the program to end
//   quillet_probe count IMAGE         print how many processes have that image name
//   quillet_probe kill IMAGE          end every process with that image name, with exit code 1
//   quillet_probe terminate           end the program of the window, with exit code 1
//   quillet_probe dismiss-message SECONDS   wait for Quillet's message box, print its text, press OK
//   quillet_probe cancel-dialog SECONDS     click "Add Video", wait for the dialog and cancel it
//   quillet_probe convert PATH SECONDS      put PATH in the text box of an idle window, click "Convert
//                                           to MP3", wait for the end and print the status line
//   quillet_probe click-convert PATH SECONDS   the same, without waiting for the end
//   quillet_probe resources           print the program's kernel handles and its GDI and USER objects
//   quillet_probe version FILE        print the product name, description and version of a program file
//   quillet_probe windows             print how many Quillet windows there are
//   quillet_probe tip                 print the text of the status line's tip
//   quillet_probe drop PATH...        drop the files on Quillet's class as Explorer's "Convert to MP3"
//                                     does; print the answer; 0 where a window read and took them, 2 not
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/form_definition.h"
#include "app/texts.h"
#include "runtime/form_builder.h"
#include "runtime/handles.h"
#include "runtime/one_window.h"
#include "runtime/quillet_class.h"
#include "tests/tools/resource_counts.h"

namespace {

void Print(const std::wstring& text) {
  const std::wstring line = text + L"\n";
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &bytes[0], size, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

HWND Control(HWND form, int id) {
  return id == kText1 ? GetDlgItem(GetDlgItem(form, kFrame1), kText1) : GetDlgItem(form, id);
}

std::wstring TextOf(HWND window) {
  std::wstring text(32768, L'\0');
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000,
                      &ignored);
  return text.c_str();
}

// Which Quillet to look at: any, or the one whose text box names this.
std::wstring chosenVideo;

// The first Quillet window, of those chosen, for which the condition holds.
template <typename Condition>
HWND FindQuillet(Condition condition) {
  for (HWND form = FindWindowExW(nullptr, nullptr, L"QuilletGUI", nullptr); form;
       form = FindWindowExW(nullptr, form, L"QuilletGUI", nullptr)) {
    const bool chosen = chosenVideo.empty() || TextOf(Control(form, kText1)).find(chosenVideo) != std::wstring::npos;
    if (chosen && condition(form)) return form;
  }
  return nullptr;
}

HWND FindQuillet() {
  return FindQuillet([](HWND) { return true; });
}

// The start of the status line that its label shows, in its own font, before it must cut the rest off.
std::wstring VisibleStatus(HWND form) {
  HWND status = Control(form, kStatus);
  const std::wstring text = TextOf(status);
  RECT label;
  GetClientRect(status, &label);
  HDC screen = GetDC(nullptr);
  const FormFonts fonts(WindowDpi(form));
  const HGDIOBJ previous = SelectObject(screen, fonts.Get(FontStyle::Underlined));
  int fitting = 0;
  SIZE size;
  GetTextExtentExPointW(screen, text.c_str(), static_cast<int>(text.size()), label.right, &fitting, nullptr, &size);
  if (fitting < static_cast<int>(text.size())) {
    SIZE ellipsis;
    GetTextExtentPoint32W(screen, L"...", 3, &ellipsis);
    GetTextExtentExPointW(screen, text.c_str(), static_cast<int>(text.size()), label.right - ellipsis.cx, &fitting,
                          nullptr, &size);
  }
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return text.substr(0, static_cast<size_t>(fitting));
}

bool StartsWith(const std::wstring& text, const std::wstring& start) {
  return text.compare(0, start.size(), start) == 0;
}

bool ConversionEnded(HWND form) {
  const std::wstring status = TextOf(Control(form, kStatus));
  return IsWindowEnabled(Control(form, kCommand2)) &&
         (status == texts::kCompleteStatus || StartsWith(status, texts::kFailedStatusPrefix));
}

bool ConversionUnderWay(HWND form) { return !IsWindowEnabled(Control(form, kCommand2)); }

// Waits for the window and then for the condition; 0 when both came in time.
template <typename Condition>
HWND WaitFor(DWORD seconds, Condition condition) {
  const DWORD deadline = GetTickCount() + seconds * 1000;
  for (;;) {
    if (HWND form = FindQuillet(condition)) return form;
    if (static_cast<LONG>(GetTickCount() - deadline) > 0) return nullptr;
    Sleep(100);
  }
}

// How many Quillet windows there are, of those chosen.
int PrintWindowCount() {
  int count = 0;
  FindQuillet([&count](HWND) {
    ++count;
    return false;
  });
  Print(std::to_wstring(count));
  return 0;
}

// Memory in another process, where a message to one of its windows can write its answer.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  void* get() const { return address_; }

 private:
  const HANDLE process_;
  void* const address_;
};

// The status line's tip: the tooltip that the form owns, with the Status label as its tool.
HWND StatusTip(HWND form) {
  for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
       tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
    if (GetWindow(tip, GW_OWNER) == form) return tip;
  }
  return nullptr;
}

// TTM_GETTEXTW writes the text through pointers that must be valid in the tooltip's own process: the
// tool and the text travel through memory there.
int PrintTip() {
  HWND form = FindQuillet();
  HWND tip = form ? StatusTip(form) : nullptr;
  DWORD processId = 0;
  GetWindowThreadProcessId(tip, &processId);
  const UniqueKernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  constexpr size_t kLongest = 8192;
  struct Exchange {
    TOOLINFOW tool;
    wchar_t text[kLongest];
  };
  const RemoteMemory remote(process.get(), sizeof(Exchange));
  auto* const there = static_cast<Exchange*>(remote.get());
  if (!tip || !there) return 2;
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(Control(form, kStatus));
  tool.lpszText = there->text;
  std::wstring text(kLongest, L'\0');
  DWORD_PTR ignored = 0;
  if (!WriteProcessMemory(process.get(), &there->tool, &tool, sizeof tool, nullptr) ||
      !SendMessageTimeoutW(tip, TTM_GETTEXTW, kLongest, reinterpret_cast<LPARAM>(&there->tool), SMTO_ABORTIFHUNG, 5000,
                           &ignored) ||
      !ReadProcessMemory(process.get(), there->text, &text[0], kLongest * sizeof(wchar_t), nullptr)) {
    return 2;
  }
  Print(text.c_str());
  return 0;
}

std::vector<DWORD> ProcessesNamed(const std::wstring& imageName) {
  const UniqueToolhelpSnapshot snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  std::vector<DWORD> ids;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, imageName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
  }
  return ids;
}

int Kill(const std::wstring& imageName) {
  for (DWORD id : ProcessesNamed(imageName)) {
    const UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
    if (process) TerminateProcess(process.get(), 1);
  }
  return 0;
}

int Terminate() {
  DWORD processId = 0;
  GetWindowThreadProcessId(FindQuillet(), &processId);
  const UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  return process && TerminateProcess(process.get(), 1) ? 0 : 2;
}

BOOL CALLBACK NoteMessageBox(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) == L"#32770" && TextOf(window) == texts::kAppTitle && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

int DismissMessage(DWORD seconds) {
  const DWORD deadline = GetTickCount() + seconds * 1000;
  HWND box = nullptr;
  while (!box) {
    EnumWindows(NoteMessageBox, reinterpret_cast<LPARAM>(&box));
    if (!box && static_cast<LONG>(GetTickCount() - deadline) > 0) return 2;
    if (!box) Sleep(100);
  }
  // A message box shows its text in the static control with id 0xFFFF.
  Print(TextOf(GetDlgItem(box, 0xFFFF)));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return 0;
}

int CancelDialog(DWORD seconds) {
  HWND form = WaitFor(seconds, [](HWND window) { return IsWindowEnabled(Control(window, kCommand1)) != FALSE; });
  if (!form) return 2;
  PostMessageW(Control(form, kCommand1), BM_CLICK, 0, 0);
  const DWORD deadline = GetTickCount() + seconds * 1000;
  HWND dialog = nullptr;
  while (!(dialog = FindWindowW(L"#32770", L"Add Videos"))) {
    if (static_cast<LONG>(GetTickCount() - deadline) > 0) return 2;
    Sleep(100);
  }
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  return 0;
}

int Convert(const std::wstring& path, DWORD seconds, bool waitForTheEnd) {
  HWND form = WaitFor(seconds, [](HWND window) { return IsWindowEnabled(Control(window, kCommand2)) != FALSE; });
  if (!form) return 2;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(Control(form, kText1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                      5000, &ignored);
  SendMessageTimeoutW(Control(form, kCommand2), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  // The click has been handled when it returns: a started conversion has disabled the button.
  if (!ConversionUnderWay(form)) return 3;
  if (!waitForTheEnd) return 0;
  chosenVideo = path.substr(path.find_last_of(L"\\/") + 1);
  form = WaitFor(seconds, ConversionEnded);
  if (!form) return 2;
  Print(TextOf(Control(form, kStatus)));
  return 0;
}

int PrintVersion(const std::wstring& file) {
  DWORD ignored = 0;
  std::vector<BYTE> info(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  if (info.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data())) return 1;
  for (const wchar_t* name : {L"ProductName", L"FileDescription", L"FileVersion"}) {
    wchar_t* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(info.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + name).c_str(),
                       reinterpret_cast<void**>(&value), &length)) {
      Print(std::wstring(name) + L"=" + value);
    }
  }
  return 0;
}

// Counted inside the program where it runs with the resource counter, else from outside.
int PrintResources() {
  HWND form = FindQuillet();
  DWORD processId = 0;
  GetWindowThreadProcessId(form, &processId);
  ResourceCounts counts{};
  if (HWND counter = FindWindowExW(HWND_MESSAGE, nullptr, kResourceCounterClass, nullptr)) {
    counts = AskResourceCounter(counter);
  } else {
    counts = CountResourcesFromOutside(processId);
  }
  Print(L"handles=" + std::to_wstring(counts.kernelHandles));
  Print(L"gdi_objects=" + std::to_wstring(counts.gdiObjects));
  Print(L"user_objects=" + std::to_wstring(counts.userObjects));
  return 0;
}

int PrintState() {
  HWND form = FindQuillet();
  if (!form) {
    Print(L"window=none");
    return 1;
  }
  RECT place;
  GetWindowRect(form, &place);
  Print(L"window=shown");
  Print(L"title=" + TextOf(form));
  Print(L"topmost=" + std::to_wstring((GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0));
  Print(L"rect=" + std::to_wstring(place.left) + L"," + std::to_wstring(place.top) + L"," +
        std::to_wstring(place.right - place.left) + L"," + std::to_wstring(place.bottom - place.top));
  Print(L"text1=" + TextOf(Control(form, kText1)));
  Print(L"check1=" + std::to_wstring(SendMessageW(Control(form, kCheck1), BM_GETCHECK, 0, 0)));
  Print(L"command2=" + TextOf(Control(form, kCommand2)));
  Print(L"buttons_enabled=" + std::to_wstring(IsWindowEnabled(Control(form, kCommand1)) != 0) +
        std::to_wstring(IsWindowEnabled(Control(form, kCommand2)) != 0));
  Print(L"status=" + TextOf(Control(form, kStatus)));
  Print(L"status_visible=" + VisibleStatus(form));
  return 0;
}

// 0 when the window took a message in time, as a window does that Windows would not grey out.
int Answers(UINT milliseconds) {
  HWND form = FindQuillet();
  DWORD_PTR ignored = 0;
  return form && SendMessageTimeoutW(form, WM_NULL, 0, 0, SMTO_NORMAL, milliseconds, &ignored) ? 0 : 2;
}

// Closes the window, or ends the session for it, and waits for its program to end.
int Close(DWORD seconds, bool endingSession) {
  HWND form = FindQuillet();
  if (!form) return 0;
  DWORD processId = 0;
  GetWindowThreadProcessId(form, &processId);
  const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (endingSession) {
    DWORD_PTR allowed = 0;
    SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &allowed);
    if (!allowed) return 3;
    PostMessageW(form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  } else {
    // Returns once the window has begun to close, as a click on its close box would.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(form, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  return process && WaitForSingleObject(process.get(), seconds * 1000) == WAIT_OBJECT_0 ? 0 : 2;
}

// One activation of Quillet's class and one drop of the whole selection, as Explorer's verb makes them.
int DropAsExplorerDoes(const std::vector<std::wstring>& files) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 2;
  CLSID quillet;
  CLSIDFromString(kQuilletClassId, &quillet);
  IDropTarget* target = nullptr;
  bool read = false;
  HRESULT answer = CoCreateInstance(quillet, nullptr, CLSCTX_LOCAL_SERVER, IID_IDropTarget,
                                    reinterpret_cast<void**>(&target));
  if (SUCCEEDED(answer)) {
    answer = DropFiles(target, files, read);
    target->Release();
  }
  CoUninitialize();
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(answer));
  Print(text);
  return SUCCEEDED(answer) && read ? 0 : 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 2 && std::wstring(argv[1]) == L"--video") {
    chosenVideo = argv[2];
    argc -= 2;
    argv += 2;
  }
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 60;
  if (command == L"wait-done") {
    HWND form = WaitFor(seconds, ConversionEnded);
    if (!form) return 2;
    Print(TextOf(Control(form, kStatus)));
    return 0;
  }
  if (command == L"wait-busy") return WaitFor(seconds, ConversionUnderWay) ? 0 : 2;
  if (command == L"state") return PrintState();
  if (command == L"answers" && argc > 2) return Answers(static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10)));
  if (command == L"close") return Close(seconds, false);
  if (command == L"end-session") return Close(seconds, true);
  if (command == L"count" && argc > 2) {
    Print(std::to_wstring(ProcessesNamed(argv[2]).size()));
    return 0;
  }
  if (command == L"kill" && argc > 2) return Kill(argv[2]);
  if (command == L"terminate") return Terminate();
  if (command == L"dismiss-message") return DismissMessage(seconds);
  if (command == L"cancel-dialog") return CancelDialog(seconds);
  if ((command == L"convert" || command == L"click-convert") && argc > 3) {
    return Convert(argv[2], static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)), command == L"convert");
  }
  if (command == L"resources") return PrintResources();
  if (command == L"version" && argc > 2) return PrintVersion(argv[2]);
  if (command == L"windows") return PrintWindowCount();
  if (command == L"tip") return PrintTip();
  if (command == L"drop" && argc > 2) return DropAsExplorerDoes({argv + 2, argv + argc});
  Print(
      L"usage: quillet_probe [--video NAME] wait-done|wait-busy|state|answers|close|end-session|count|kill|terminate|"
      L"dismiss-message|cancel-dialog|convert|click-convert|resources|version|windows|tip|drop ...");
  return 64;
}
