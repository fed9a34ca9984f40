#pragma once
#include <windows.h>

#include <string>

#include "runtime/runtime_error.h"

// A function of a system DLL that the first window does not need (the open-file dialog, the shell,
// COM), looked up when it is first wanted, so that Quillet starts without loading those DLLs. They
// load from the system folder (see LoadDllsFromSystemFolderOnly). Throws RuntimeError when the
// system lacks it.
//   static const auto shellExecute = LaterLoaded<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
template <typename Function>
Function LaterLoaded(const wchar_t* dll, const char* name) {
  const HMODULE module = LoadLibraryW(dll);
  const FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  if (!address) throw LastWin32Error(L"Cannot load " + std::wstring(dll));
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}
