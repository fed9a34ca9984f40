#include "runtime/program_info.h"

#include "runtime/rules/command_line.h"
#include "runtime/rules/path_text.h"

HINSTANCE AppInstance() { return GetModuleHandleW(nullptr); }

std::wstring AppPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto nameStart = FileNameStart(path);
  if (nameStart == 0) return L"";
  // "C:\" keeps its backslash; any other folder loses it.
  return path.substr(0, nameStart == 3 && path[1] == L':' ? 3 : nameStart - 1);
}

std::wstring Command() { return CommandLineTail(GetCommandLineW()); }

std::wstring EnvironmentVariable(const wchar_t* name) {
  std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  if (value.empty()) return L"";
  value.resize(GetEnvironmentVariableW(name, &value[0], static_cast<DWORD>(value.size())));
  return value;
}

void LoadDllsFromSystemFolderOnly() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
