#include "runtime/windows_shell.h"

#include <objbase.h>

#include "runtime/later_loaded.h"
#include "runtime/rules/shell_operation_error.h"

void EnterShellApartment() {
  static const struct Apartment {
    Apartment()
        : leave(LaterLoaded<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize")),
          entered(SUCCEEDED(LaterLoaded<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx")(
              nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~Apartment() {
      if (entered) leave();
    }
    decltype(&CoUninitialize) leave;
    bool entered;
  } apartment;
}

bool OpenWithShell(const std::wstring& target) {
  // The shell may hand the work to extensions that want a single-threaded apartment.
  EnterShellApartment();
  static const auto shellExecute = LaterLoaded<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  // Values above 32 say that it worked.
  return reinterpret_cast<INT_PTR>(shellExecute(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) >
         32;
}

DWORD RecycleWithShell(const std::wstring& plainPath) {
  // The shell wants a list of paths, each ended by a NUL, and one more NUL.
  const std::wstring from = plainPath + L'\0';
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NO_UI;
  static const auto fileOperation = LaterLoaded<decltype(&SHFileOperationW)>(L"shell32.dll", "SHFileOperationW");
  const int result = fileOperation(&operation);
  if (result == 0 && operation.fAnyOperationsAborted) return ERROR_CANCELLED;
  return Win32ErrorOfShellOperation(result);
}

DroppedFiles::DroppedFiles(HDROP drop)
    : drop_(drop),
      query_(LaterLoaded<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW")),
      finish_(LaterLoaded<decltype(&DragFinish)>(L"shell32.dll", "DragFinish")) {}

std::vector<std::wstring> DroppedFiles::Paths() const {
  std::vector<std::wstring> paths;
  const UINT count = query_(drop_, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    std::wstring path(query_(drop_, index, nullptr, 0), L'\0');
    if (path.empty()) continue;
    query_(drop_, index, &path[0], static_cast<UINT>(path.size()) + 1);
    paths.push_back(path);
  }
  return paths;
}
