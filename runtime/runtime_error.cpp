#include "runtime/runtime_error.h"

#include "runtime/handles.h"

std::wstring SystemMessage(DWORD code) {
  UniqueLocalMemory text;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
  std::wstring message(text ? static_cast<const wchar_t*>(text.get()) : L"", length);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
  return message;
}

RuntimeError LastWin32Error(const std::wstring& what) {
  const DWORD code = GetLastError();
  const std::wstring systemText = SystemMessage(code);
  return RuntimeError(code, systemText.empty() ? what : what + L": " + systemText);
}
