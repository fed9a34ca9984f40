#include "runtime/runtime_error.h"

RuntimeError LastWin32Error(const std::wstring& what) {
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring description = what;
  if (length > 0) {
    std::wstring systemText(text, length);
    while (!systemText.empty() && (systemText.back() == L'\n' || systemText.back() == L'\r')) systemText.pop_back();
    description += L": " + systemText;
  }
  LocalFree(text);
  return RuntimeError(code, description);
}
