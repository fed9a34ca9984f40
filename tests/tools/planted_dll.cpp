// A DLL planted beside a program under the name of a system DLL, as a download can be: once loaded, it
// leaves a file named "planted DLL was loaded" in its folder, and does nothing else.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(self, &path[0], MAX_PATH));
  path = path.substr(0, path.rfind(L'\\') + 1) + L"planted DLL was loaded";
  CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return TRUE;
}
