#include "runtime/windows_shell.h"

#include <objbase.h>
#include <shlobj.h>

#include <memory>

#include "runtime/com.h"
#include "runtime/later_loaded.h"
#include "runtime/rules/path_text.h"
#include "runtime/rules/shell_operation_error.h"

namespace {

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};

}  // namespace

bool OpenWithShell(const std::wstring& target) {
  // The shell may hand the work to extensions that want a single-threaded apartment; the list's worker
  // opens folders too.
  const ThreadApartment apartment;
  static const auto shellExecute = LaterLoaded<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  // Values above 32 say that it worked.
  return reinterpret_cast<INT_PTR>(shellExecute(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) >
         32;
}

IFileOperation* ShellFileOperation() {
  static const auto createInstance = LaterLoaded<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  IFileOperation* operation = nullptr;
  if (FAILED(createInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&operation)))) return nullptr;
  return operation;
}

namespace {

// Hears from the shell what became of the one file it deletes. It lives on the caller's stack, and the
// operation lets go of it before it goes.
class DeleteReport : public IFileOperationProgressSink {
 public:
  bool reported = false;
  HRESULT result = S_OK;
  bool recycled = false;

  HRESULT STDMETHODCALLTYPE PostDeleteItem(DWORD, IShellItem*, HRESULT deleted, IShellItem* inRecycleBin) override {
    reported = true;
    result = deleted;
    recycled = inRecycleBin != nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    *object = IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IFileOperationProgressSink) ? this : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE StartOperations() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FinishOperations(HRESULT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostRenameItem(DWORD, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PreMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreDeleteItem(DWORD, IShellItem*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PreNewItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostNewItem(DWORD, IShellItem*, LPCWSTR, LPCWSTR, DWORD, HRESULT, IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UpdateProgress(UINT, UINT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResetTimer() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PauseTimer() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResumeTimer() override { return S_OK; }
};

// What the file operation did with the file: its result, or E_NOTIMPL where the operation (Wine's)
// cannot delete and has done nothing.
HRESULT DeleteWith(IFileOperation& operation, const std::wstring& plainPath, DeleteReport& report) {
  static const auto itemFromPath =
      LaterLoaded<decltype(&SHCreateItemFromParsingName)>(L"shell32.dll", "SHCreateItemFromParsingName");
  IShellItem* made = nullptr;
  HRESULT result = operation.SetOperationFlags(FOF_ALLOWUNDO | FOF_NO_UI);
  if (SUCCEEDED(result)) result = itemFromPath(plainPath.c_str(), nullptr, IID_PPV_ARGS(&made));
  const std::unique_ptr<IShellItem, ComRelease> item(made);
  DWORD cookie = 0;
  if (SUCCEEDED(result)) result = operation.Advise(&report, &cookie);
  if (FAILED(result)) return result;
  result = operation.DeleteItem(item.get(), nullptr);
  if (SUCCEEDED(result)) result = operation.PerformOperations();
  operation.Unadvise(cookie);
  if (report.reported) return report.result;
  // An operation that ends without a word about the file was aborted before it.
  return FAILED(result) ? result : HRESULT_FROM_WIN32(ERROR_CANCELLED);
}

DWORD RecycleWithOlderCall(const std::wstring& plainPath) {
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

}  // namespace

DWORD RecycleWithShell(const std::wstring& plainPath, bool& deletedForGood, const MakeFileOperation& make) {
  const ThreadApartment apartment;
  if (apartment.Entered()) {
    if (const std::unique_ptr<IFileOperation, ComRelease> operation{make()}) {
      DeleteReport report;
      const HRESULT result = DeleteWith(*operation, plainPath, report);
      if (result != E_NOTIMPL) {
        deletedForGood = SUCCEEDED(result) && !report.recycled;
        return Win32ErrorOfShellResult(result);
      }
    }
  }
  // The older call says nothing of where the file went.
  deletedForGood = !KeepsARecycleBin(GetDriveTypeW(PathRoot(plainPath).c_str()));
  return RecycleWithOlderCall(plainPath);
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
