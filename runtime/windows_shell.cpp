#include "runtime/windows_shell.h"

#include <objbase.h>
#include <shlobj.h>

#include "runtime/com.h"
#include "runtime/later_loaded.h"
#include "runtime/rules/shell_operation_error.h"

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

std::vector<std::wstring> PathsOfDrop(HDROP drop) {
  static const auto query = LaterLoaded<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
  std::vector<std::wstring> paths;
  const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    std::wstring path(query(drop, index, nullptr, 0), L'\0');
    if (path.empty()) continue;
    query(drop, index, &path[0], static_cast<UINT>(path.size()) + 1);
    paths.push_back(path);
  }
  return paths;
}

HGLOBAL NewDropFileList(const std::vector<std::wstring>& paths) {
  // Each path ended by a NUL, and one more NUL, after the header.
  std::wstring list;
  for (const std::wstring& path : paths) list += path + L'\0';
  list += L'\0';
  const size_t bytes = list.size() * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  auto* header = memory ? static_cast<DROPFILES*>(GlobalLock(memory)) : nullptr;
  if (!header) return memory;
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  memcpy(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES), list.data(), bytes);
  GlobalUnlock(memory);
  return memory;
}

DroppedFiles::DroppedFiles(HDROP drop)
    : drop_(drop), finish_(LaterLoaded<decltype(&DragFinish)>(L"shell32.dll", "DragFinish")) {}
