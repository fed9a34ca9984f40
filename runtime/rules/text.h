#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// Small rules for reading texts, shared by everything that reads one.

inline constexpr wchar_t kBlanks[] = L" \t";

inline bool StartsWith(std::wstring_view text, std::wstring_view start) {
  return text.substr(0, start.size()) == start;
}

// The text without the given characters (blanks and tabs, unless told) at either end.
inline std::wstring Trimmed(std::wstring_view text, std::wstring_view blanks = kBlanks) {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::wstring_view::npos) return L"";
  return std::wstring(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

// Whether the texts are the same, letter case aside, as Windows compares file names: the one rule for
// paths and program names alike (CompareStringOrdinal, ignoring case).
bool SameIgnoringCase(std::wstring_view a, std::wstring_view b);

// The text with "%1", "%2", ... replaced by the inserts in that order; a number without an insert
// stays as it is. What an insert holds is never read for numbers itself.
std::wstring WithInserts(std::wstring_view text, std::initializer_list<std::wstring_view> inserts);
