#pragma once
#include <string>

// Per-user application settings, kept as texts in the registry where Windows programs of this kind
// have always kept them: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>.

// The stored text, or `defaultValue` when there is none.
std::wstring GetSetting(const std::wstring& appName, const std::wstring& section, const std::wstring& key,
                        const std::wstring& defaultValue);

// Stores the text; throws RuntimeError when the store cannot be written.
void SaveSetting(const std::wstring& appName, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value);

// The registry key, below HKEY_CURRENT_USER, that holds one section's settings.
std::wstring SettingsKeyPath(const std::wstring& appName, const std::wstring& section);
