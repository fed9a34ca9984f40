#include "runtime/settings_store.h"

#include <windows.h>

#include "runtime/handles.h"
#include "runtime/runtime_error.h"

std::wstring SettingsKeyPath(const std::wstring& appName, const std::wstring& section) {
  return L"Software\\VB and VBA Program Settings\\" + appName + L"\\" + section;
}

std::wstring GetSetting(const std::wstring& appName, const std::wstring& section, const std::wstring& key,
                        const std::wstring& defaultValue) {
  UniqueRegistryKey settings;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(appName, section).c_str(), 0, KEY_QUERY_VALUE,
                    settings.put()) != ERROR_SUCCESS) {
    return defaultValue;
  }
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(settings.get(), key.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return defaultValue;
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegQueryValueExW(settings.get(), key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &bytes) !=
      ERROR_SUCCESS) {
    return defaultValue;
  }
  value.resize(bytes / sizeof(wchar_t));
  // The stored text may or may not carry its terminating NUL.
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return value;
}

void SaveSetting(const std::wstring& appName, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value) {
  UniqueRegistryKey settings;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath(appName, section).c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, settings.put(), nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(settings.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  if (status != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(status));
    throw LastWin32Error(L"Cannot save the setting " + key);
  }
}
