#pragma once
#include <string>

// The one remembered option, "open the output folder when done", kept as the text of the check
// box's value in the per-user settings store.

// Where it is kept: application, section and key; and the text that an absent entry stands for.
inline constexpr wchar_t kSettingsApp[] = L"Quillet";
inline constexpr wchar_t kSettingsSection[] = L"Settings";
inline constexpr wchar_t kOptionKey[] = L"Options";
inline constexpr wchar_t kDefaultOption[] = L"1";

// The check box value that a stored text stands for: "0", "1" or "2" as they are; anything else
// (nothing, other numbers, words) is the default, 1, so that a damaged store never stops start-up.
short OptionValueFromStoredText(const std::wstring& stored);

// The text stored for a check box value: its decimal digits.
std::wstring StoredTextOfOptionValue(short value);
